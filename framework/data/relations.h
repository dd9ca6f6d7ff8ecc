#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace slownik::data {

//! What deleting a parent row does to the rows that refer to it.
enum class DeleteRule {
  Restrict,  //!< the delete is refused while such rows exist
  Cascade,   //!< they are deleted too (with their own rules)
  Clear,     //!< their referring columns are cleared (0, or "" for text)
};

//! Child rows refer to a parent row when childColumns equal parentColumns.
struct Relation {
  std::string parent;  //!< table name
  std::vector<std::string> parentColumns;
  std::string child;
  std::vector<std::string> childColumns;
  DeleteRule onDelete = DeleteRule::Restrict;
};

//! The relations between the module's tables, plus those added at run time.
//! Safe to call from any thread.
std::vector<Relation> relations();
//! Declares another relation (the sibling modules' tables, tests).
void addRelation(Relation relation);
//! Relations whose parent is the table (by name, ignoring case).
std::vector<Relation> childRelations(std::string_view table);
//! Names of the tables related to the table either way, each once.
std::vector<std::string> relatedTables(std::string_view table);

}  // namespace slownik::data
