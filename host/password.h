#pragma once
#include <QString>
#include <chrono>
#include <functional>

namespace slownik::host {

//! Stored in UZYTKOWNIK.HASLO of an administrator whose password is still to be chosen:
//! nothing typed matches it, and the log-in dialog asks for a new password instead.
inline constexpr const char* kPasswordToBeSet = "!";

//! A password as it is stored: Argon2id with its own salt and cost (libsodium's string
//! form). An empty password is stored as an empty text, which means "none set".
//! Empty as well when the hashing itself fails (out of memory): the caller refuses.
QString hashPassword(const QString& password);

enum class PasswordCheck {
  Wrong,
  Right,
  RightButOld,  //!< right, and the stored form should be replaced by hashPassword(typed)
};

//! Whether `typed` is the password `stored` holds. An empty `stored` takes an empty
//! password only; an old unsalted SHA-256 (64 hex digits) is still read, and reported
//! old so that the caller upgrades it. Comparisons take the same time wherever they differ.
PasswordCheck checkPassword(const QString& stored, const QString& typed);

//! Counts wrong log-in tries in a row. From the fifth on, the next try must wait, and
//! each further wrong try doubles the wait (up to five minutes); a right one starts afresh.
//! The clock is a parameter so that tests move time instead of waiting for it.
class LoginThrottle {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  explicit LoginThrottle(Clock clock = [] { return std::chrono::steady_clock::now(); });

  //! How long the next try must still wait; zero when it may go now.
  std::chrono::seconds waitBeforeNextTry() const;
  void recordWrong();
  void recordRight();
  int wrongInARow() const { return wrong_; }

  static constexpr int kFreeTries = 5;
  static constexpr std::chrono::seconds kFirstPause{2};
  static constexpr std::chrono::seconds kLongestPause{300};

 private:
  Clock clock_;
  int wrong_ = 0;
  std::chrono::steady_clock::time_point nextTry_{};
};

}  // namespace slownik::host
