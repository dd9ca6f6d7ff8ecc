#include "framework/sql/tsql/translator.h"

#include <algorithm>

#include "framework/sql/text.h"
#include "framework/sql/tsql/passes.h"

namespace slownik::sql::tsql {
namespace {

std::vector<std::string> plainWords(const Tokens& tokens) {
  std::vector<std::string> words;
  for (const Token& t : tokens) {
    if (t.kind != TokenKind::Word) continue;
    std::string upper = toUpperAscii(t.text);
    if (std::find(words.begin(), words.end(), upper) == words.end()) words.push_back(std::move(upper));
  }
  return words;
}

}  // namespace

std::string translate(std::string_view moduleSql, const BackendSpelling& spelling, const TextColumns& columns) {
  Tokens tokens = tokenize(moduleSql);
  tokens = dropTableHints(tokens);
  tokens = dropOwnerPrefix(tokens);
  tokens = deleteWithAlias(tokens);
  tokens = updateFromSelf(tokens);
  tokens = topToLimit(tokens);
  StatementContext context{columns, plainWords(tokens)};
  tokens = concatenation(tokens, context);
  return functionCalls(tokens, spelling, context);
}

}  // namespace slownik::sql::tsql
