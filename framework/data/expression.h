#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/sql/database.h"
#include "framework/sql/table_def.h"

namespace slownik::data {

//! A value read when a statement runs (a literal, or a variable bound under a name).
using ParamSource = std::function<sql::Param()>;

//! A piece of backend SQL with its '?' parameters, in the order they appear.
struct SqlFragment {
  std::string text;
  std::vector<ParamSource> params;

  void append(std::string_view more) { text += more; }
  void append(const SqlFragment& more) {
    text += more.text;
    params.insert(params.end(), more.params.begin(), more.params.end());
  }
  std::vector<sql::Param> values() const;
};

//! What a name in an expression stands for.
struct NameBinding {
  enum Kind { Unknown, Column, Expression, Value } kind = Unknown;
  std::string sql;                              //!< Column/Expression: "A.NAZWA", "(CASE ... END)"
  sql::ColumnType type = sql::ColumnType::Text;
  bool nullable = true;
  ParamSource value;                            //!< Value: read at every statement
};
using NameResolver = std::function<NameBinding(std::string_view name)>;

//! A compiled expression; on failure `error` holds a Polish text and the rest is empty.
struct CompiledExpression {
  SqlFragment sql;
  sql::ColumnType type = sql::ColumnType::Text;  //!< Text, or a numeric kind
  bool nullable = false;
  bool isText = true;
  bool isCondition = false;  //!< a comparison or logical expression
  std::string error;
  bool ok() const { return error.empty(); }
};

//! The framework's filter expressions on record fields, as the windows write them:
//! "(FIR:VEX=1 and FIR:ID_FIRMY>0)", "(TYPDMAG:Rodzaj<>'Zamówienie')",
//! "(SMSSZ:KONTEKST=fkontekst and SMSSZ:PRGKOD=3)". Operators = <> ~= != < <= > >=,
//! and/or/not (also ~), + - * / and & (joins texts); UPPER, LOWER, CLIP, SUB(text,start,length).
//! Names are resolved by the caller; literals become parameters, never SQL text.
CompiledExpression compileCondition(std::string_view expression, const NameResolver& resolve);
//! One value expression (an order component such as "UPPER(BAN:NAZWA)").
CompiledExpression compileValue(std::string_view expression, const NameResolver& resolve);

//! Replaces record prefixes in SQL text ("PRA:NAZWISKO") by the alias the resolver
//! gives for the prefix ("A.NAZWISKO"); text between apostrophes is left alone.
std::string replacePrefixes(std::string_view sqlText, const std::function<std::string(std::string_view prefix)>& alias);

}  // namespace slownik::data
