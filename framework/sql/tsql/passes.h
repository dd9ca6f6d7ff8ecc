#pragma once
#include "framework/sql/tsql/backend_spelling.h"
#include "framework/sql/tsql/expression.h"
#include "framework/sql/tsql/token.h"

// The translator's passes, in the order it runs them. Each takes the statement's
// tokens and gives them back rewritten; text that holds none of its idioms passes
// through untouched.
namespace slownik::sql::tsql {

//! "t with (nolock)" → "t": table hints mean nothing to the other backends.
Tokens dropTableHints(const Tokens& tokens);
//! "dbo.X" → "X": objects live in the connection's own schema.
Tokens dropOwnerPrefix(const Tokens& tokens);
//! "select top 5 ..." → "select ... LIMIT 5", at the end of that select's own level.
Tokens topToLimit(const Tokens& tokens);
//! "delete t where" → "delete from t where"; "delete t from t a where a.x" → "delete from t where t.x".
Tokens deleteWithAlias(const Tokens& tokens);
//! "update t set ... from t r where r.x" → "update t set ... where t.x" (no self-join).
Tokens updateFromSelf(const Tokens& tokens);
//! '+' between strings → '||'.
Tokens concatenation(const Tokens& tokens, const StatementContext& context);
//! isnull, len, getdate, convert, CAST(... AS datetime) → the backend's spelling.
std::string functionCalls(const Tokens& tokens, const BackendSpelling& spelling, const StatementContext& context);

}  // namespace slownik::sql::tsql
