#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "engine/record_form.h"

namespace slownik::documents {

//! NUMERACJA.DOKUMENT: the family of documents a type's numbering belongs to.
inline constexpr int kWarehouseFamily = 1;
inline constexpr int kFinanceFamily = 3;
inline constexpr int kTradeFamily = 4;

//! Whether the form's record differs from the one it opened with, trailing blanks aside
//! (the host rebuilds its tree of types only then). No copy: changed.
bool recordChangedSinceOpening(const engine::RecordForm& form);

//! Text without trailing blanks (signatures are kept blank-padded by some writers).
std::string clipRight(std::string text);

//! What is wrong with a signature of a type kept in TYP_DOKUMENTU_MAGAZYNOWEGO (warehouse,
//! order and production order types of the current company): empty, or used by another
//! type than `type`; nullopt when it may be saved. Trailing blanks do not count.
std::optional<std::string> warehouseTableSignatureProblem(double type, std::string_view signature);

//! A type's numbering goes where the type goes, after the form wrote the row: a deleted
//! type's definitions and counters are deleted (a later type may get its id), and a type
//! whose signature changed numbers its next documents with the new one. Failures are
//! told as warnings (the row itself is written by then). `company` and `type` are ids.
void deleteTypeNumbering(int family, double company, double type);
void renameTypeNumbering(int family, double company, double type, std::string_view signature);

}  // namespace slownik::documents
