#include <gtest/gtest.h>

#include <string>

#include "framework/services/iban.h"
#include "framework/services/nip.h"
#include "framework/services/pesel.h"

namespace slownik::svc {
namespace {

struct Verdict {
  const char* number;
  bool valid;
};

TEST(NipCheck, NumbersAndVerdicts) {
  const Verdict cases[] = {
      {"1234563218", true},
      {"5260250274", true},
      {"7680002466", true},
      {"123-456-32-18", true},   // dashes as printed on documents
      {"123 456 32 18", true},   // blanks as typed
      {"PL1234563218", true},    // EU VAT form
      {"pl 123-456-32-18", true},
      {"  1234563218  ", true},
      {"1234563219", false},     // wrong check digit
      {"5260250275", false},
      {"123456321", false},      // nine digits
      {"12345632180", false},    // eleven digits
      {"0000000000", false},     // checksum fits, but no such number
      {"", false},
      {"   ", false},
      {"PL", false},
      {"DE1234563218", false},   // another country's prefix
      {"12345632l8", false},     // a letter among the digits
      {"123.456.32.18", false},
      {"1234563030", false},     // weighted sum gives 10: no check digit fits, not even 0
  };
  for (const auto& c : cases) EXPECT_EQ(NIPOK(c.number), c.valid) << '"' << c.number << '"';
}

TEST(PeselCheck, NumbersAndVerdicts) {
  const Verdict cases[] = {
      {"44051401359", true},   // 14 May 1944
      {"80123104562", true},   // 31 Dec 1980
      {"99123104564", true},   // 31 Dec 1999
      {"04022901231", true},   // 29 Feb 1904, a leap year
      {"00222900009", true},   // 29 Feb 2000, a leap year (century divisible by 400)
      {"12222900002", true},   // 29 Feb 2012
      {"00410100000", true},   // 1 Jan 2100
      {"00610100006", true},   // 1 Jan 2200
      {"99813100003", true},   // 31 Jan 1899
      {" 44051401359 ", true},
      {"44051401358", false},  // wrong check digit
      {"00022901233", false},  // 29 Feb 1900: not a leap year
      {"02222901233", false},  // 29 Feb 2002
      {"00422900005", false},  // 29 Feb 2100: not a leap year
      {"00622900001", false},  // 29 Feb 2200
      {"00822900007", false},  // 29 Feb 1800
      {"02130100007", false},  // month 13 encodes no century
      {"02043100002", false},  // 31 April
      {"00023000009", false},  // 30 February
      {"02000100001", false},  // month 0
      {"02010000005", false},  // day 0
      {"99723100001", true},   // 31 Dec 2299: the last month of the last century
      {"4405140135", false},   // ten digits
      {"440514013590", false},
      {"4405140135a", false},
      {"440514 01359", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(PESELOK(c.number), c.valid) << '"' << c.number << '"';
}

TEST(IbanCheckDigits, PolishAccounts) {
  struct Case {
    const char* bban;
    const char* digits;
  };
  const Case cases[] = {
      {"109010140000071219812874", "61"},
      {"114020040000300201355387", "27"},
      {"102055581111123456789012", "20"},
      {"000000000000000000000000", "04"},  // a leading zero is kept
      {"1090 1014 0000 0712 1981 2874", "61"},
      {"10901014000007121981287", ""},     // 23 digits
      {"1090101400000712198128745", ""},   // 25 digits
      {"10901014000007121981287X", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(IBAN_OBLICZSUMEKONTROLNA(c.bban), c.digits) << c.bban;
}

TEST(IbanValidation, NumbersAndVerdicts) {
  const Verdict cases[] = {
      {"61109010140000071219812874", true},
      {"PL61109010140000071219812874", true},
      {"PL61 1090 1014 0000 0712 1981 2874", true},
      {"pl61 1090 1014 0000 0712 1981 2874", true},
      {"27114020040000300201355387", true},
      {"62109010140000071219812874", false},  // wrong check digits
      {"61109010140000071219812875", false},  // one digit changed
      {"61109010140000071219818274", false},  // two digits swapped
      {"6110901014000007121981287", false},   // too short
      {"DE61109010140000071219812874", false},
      {"PL61-1090-1014-0000-0712-1981-2874", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isValidPolishIban(c.number), c.valid) << '"' << c.number << '"';
}

}  // namespace
}  // namespace slownik::svc
