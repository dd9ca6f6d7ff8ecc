#include "host/password.h"

#include <sodium.h>

#include <mutex>

namespace slownik::host {
namespace {

bool sodiumReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] { ready = sodium_init() >= 0; });
  return ready;
}

bool isOldSha256(const QString& stored) {
  if (stored.size() != 64) return false;
  for (QChar c : stored)
    if (!c.isDigit() && !(c.toLower() >= 'a' && c.toLower() <= 'f')) return false;
  return true;
}

bool sameText(const QByteArray& a, const QByteArray& b) {
  return a.size() == b.size() && sodium_memcmp(a.constData(), b.constData(), std::size_t(a.size())) == 0;
}

}  // namespace

QString hashPassword(const QString& password) {
  if (password.isEmpty()) return {};
  if (!sodiumReady()) return {};
  const QByteArray utf8 = password.toUtf8();
  char out[crypto_pwhash_STRBYTES];
  // The interactive limits: a log-in takes a fraction of a second and 64 MB.
  if (crypto_pwhash_str(out, utf8.constData(), std::size_t(utf8.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    return {};
  return QString::fromLatin1(out);
}

PasswordCheck checkPassword(const QString& stored, const QString& typed) {
  if (stored.isEmpty()) return typed.isEmpty() ? PasswordCheck::Right : PasswordCheck::Wrong;
  if (!sodiumReady()) return PasswordCheck::Wrong;
  const QByteArray utf8 = typed.toUtf8();
  if (isOldSha256(stored)) {
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(utf8.constData()),
                       static_cast<unsigned long long>(utf8.size()));
    const QByteArray typedHex = QByteArray(reinterpret_cast<const char*>(digest), sizeof digest).toHex();
    return sameText(typedHex, stored.toLower().toLatin1()) ? PasswordCheck::RightButOld : PasswordCheck::Wrong;
  }
  const QByteArray hash = stored.toLatin1();
  if (!hash.startsWith("$argon2")) return PasswordCheck::Wrong;  // kPasswordToBeSet, or damage
  if (crypto_pwhash_str_verify(hash.constData(), utf8.constData(), std::size_t(utf8.size())) != 0)
    return PasswordCheck::Wrong;
  // A hash made with lower limits than today's is made again while the password is at hand.
  return crypto_pwhash_str_needs_rehash(hash.constData(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                        crypto_pwhash_MEMLIMIT_INTERACTIVE) == 0
             ? PasswordCheck::Right
             : PasswordCheck::RightButOld;
}

LoginThrottle::LoginThrottle(Clock clock) : clock_(std::move(clock)) {}

std::chrono::seconds LoginThrottle::waitBeforeNextTry() const {
  const auto now = clock_();
  if (wrong_ < kFreeTries || now >= nextTry_) return std::chrono::seconds{0};
  // Rounded up: "wait 0 s" while a wait remains would read as a fault.
  return std::chrono::ceil<std::chrono::seconds>(nextTry_ - now);
}

void LoginThrottle::recordWrong() {
  ++wrong_;
  if (wrong_ < kFreeTries) return;
  std::chrono::seconds pause = kFirstPause;
  for (int i = kFreeTries; i < wrong_ && pause < kLongestPause; ++i) pause *= 2;
  nextTry_ = clock_() + std::min(pause, kLongestPause);
}

void LoginThrottle::recordRight() {
  wrong_ = 0;
  nextTry_ = {};
}

}  // namespace slownik::host
