#pragma once

namespace slownik::data {

//! Result codes of the table managers (0 = success), also set as the runtime error code.
enum FileError : int {
  kFileOk = 0,
  kEndOfView = 33,        //!< a sequential read went past the last row
  kRecordNotFound = 35,   //!< no row with that key
  kKeyUnknown = 37,       //!< the table has no such key, or no primary key to write by
  kDuplicateKey = 40,     //!< another row already has the same unique key
  kRowReferenced = 47,    //!< delete refused: other rows refer to this one
  kRecordChanged = 48,    //!< the row is no longer as it was read: another user changed it
  kLockLost = 49,         //!< the write's own condition (the record's lock) no longer holds
  kBadExpression = 80,    //!< a filter or order text that does not parse
  kOutOfRange = 85,       //!< a record outside the view's ranges
  kDatabaseError = 90,    //!< the database refused the statement; the text says why
  kNoConnection = 92,     //!< no connection to the database
};

}  // namespace slownik::data
