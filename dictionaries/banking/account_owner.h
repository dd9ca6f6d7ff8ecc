#pragma once
// The four kinds of bank-account owners (the company, a contractor, an employee, a tax
// office) share one list and one form; what differs between them is gathered here.

#include <string>

namespace slownik::banking {

enum class OwnerKind { Company, Contractor, Employee, TaxOffice };

//! Everything the account list and form need to know about one kind of owner.
struct AccountOwner {
  OwnerKind kind;
  std::string table;          //!< account table, "RACHUNEK_FIRMY"
  std::string prefix;         //!< its record prefix, "RACHFIR"
  std::string ownerColumn;    //!< the account's owner column, "ID_FIRMY"
  std::string numberKey;      //!< the owner-and-number key, the list's order
  std::string ownerTable;     //!< the owner's table, "FIRMA"
  std::string ownerPrefix;    //!< the owner's record prefix, "FIR"
  std::string logCode;        //!< kind of the audit-log entries, "RACHFIR"
  std::string caption;        //!< the list's caption
  std::string helpPage;       //!< help topic of the list and the form
  std::string listProcedure;  //!< name at the error handler and in the settings file
  std::string formProcedure;
  int listModule = 0;  //!< window resources "slownik$slownNNN"
  int formModule = 0;
  //! "Domyślny" is enabled only while the list has rows.
  bool defaultNeedsRows = true;
  //! The table of the owner's white-list answers; "" when its accounts are not checked
  //! (only payees' accounts are: a contractor's and a tax office's).
  std::string whiteListTable = {};
  std::string whiteListPrefix = {};

  bool isCompany() const { return kind == OwnerKind::Company; }
  bool checksWhiteList() const { return !whiteListTable.empty(); }
  //! "RACHFIR:NAME".
  std::string field(const std::string& column) const { return prefix + ":" + column; }
  //! The owner record's field, "FIR:NAME".
  std::string ownerField(const std::string& column) const { return ownerPrefix + ":" + column; }
  //! The owner's primary key name for a keyed read ("FIR:PK_FIRMA").
  std::string ownerPrimaryKey() const;

  // --- the statements, every value through the quoting helper --------------------------
  //! "select aktywny from <table> where id_rachunku=<a>".
  std::string activityQuery(double account) const;
  //! "update <table> set aktywny=1 where id_rachunku=<a>".
  std::string activationStatement(double account) const;
  //! "update <owner> set id_rachunku=<a> where <key>=<o>".
  std::string setDefaultStatement(double account, double owner) const;
  //! "update <owner> set id_rachunku=null where <key>=<o>".
  std::string clearDefaultStatement(double owner) const;
  //! Answers 1 when another account of the same owner has `number`.
  std::string duplicateQuery(double account, double owner, double company, const std::string& number) const;
};

//! The descriptor of an owner kind (static, never changes).
const AccountOwner& accountOwner(OwnerKind kind);

}  // namespace slownik::banking
