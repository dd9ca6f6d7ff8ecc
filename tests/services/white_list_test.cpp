// The white-list client against a local stand-in of the ministry's service: the answers
// it keeps, every way of getting no answer, and what never reaches the network.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "framework/runtime/date_time.h"
#include "framework/services/white_list.h"
#include "support/http_server.h"
#include "support/white_list_answer.h"

namespace slownik {
namespace {

using svc::WhiteListOutcome;

constexpr const char* kNip = "6771000202";
constexpr const char* kAccount = "27199000030000123456789012";
const std::int32_t kDay = rt::dayNumber(2026, 12, 7);
const std::string kPath = std::string("/api/check/nip/") + kNip + "/bank-account/" + kAccount + "?date=2026-12-07";

std::string answer(const std::string& assigned, const std::string& id = "d2n10-84df1a1") {
  return test::whiteListAnswer(assigned, id, "07-12-2026 10:15:02");
}

svc::WhiteListCheck check(const test::HttpServer& server, long timeout = 5) {
  return svc::checkWhiteList({server.baseUrl() + "/", timeout}, kNip, kAccount, kDay);
}

TEST(WhiteListClient, AnswersCarryTheResultAndTheProof) {
  test::HttpServer server;
  server.serve(kPath, 200, answer("TAK"));
  svc::WhiteListCheck yes = check(server);
  EXPECT_EQ(yes.outcome, WhiteListOutcome::Assigned);
  EXPECT_TRUE(yes.answered());
  EXPECT_EQ(yes.result(), "TAK");
  EXPECT_EQ(yes.requestId, "d2n10-84df1a1");
  EXPECT_EQ(yes.requestDateTime, "07-12-2026 10:15:02");
  EXPECT_EQ(server.requests(), (std::vector<std::string>{kPath})) << "one request, the address's '/' not doubled";

  server.serve(kPath, 200, answer("NIE", "x-2"));
  svc::WhiteListCheck no = check(server);
  EXPECT_EQ(no.outcome, WhiteListOutcome::NotAssigned);
  EXPECT_EQ(no.result(), "NIE");
  EXPECT_EQ(no.requestId, "x-2");
  EXPECT_TRUE(svc::whiteListFailureText(no, 5).empty());
}

TEST(WhiteListClient, AnswersWithoutAProofOrAResultAreNotAnswers) {
  struct Case {
    std::string body;
    WhiteListOutcome outcome;
  };
  const Case cases[] = {
      {R"({"result":{"accountAssigned":"TAK","requestDateTime":"07-12-2026 10:15:02"}})", WhiteListOutcome::Malformed},
      {R"({"result":{"accountAssigned":"MOŻE","requestId":"a"}})", WhiteListOutcome::Malformed},
      {R"({"result":null})", WhiteListOutcome::Malformed},
      {"<html>Service Unavailable</html>", WhiteListOutcome::Malformed},
      {"", WhiteListOutcome::Malformed},
      {R"({"code":"WL-113","message":"Pole 'nip' ma nieprawidłową długość."})", WhiteListOutcome::Refused},
  };
  test::HttpServer server;
  for (const auto& c : cases) {
    server.serve(kPath, 200, c.body);
    svc::WhiteListCheck result = check(server);
    EXPECT_EQ(result.outcome, c.outcome) << c.body;
    EXPECT_FALSE(result.answered()) << c.body;
    EXPECT_TRUE(result.result().empty()) << c.body;
    EXPECT_FALSE(svc::whiteListFailureText(result, 5).empty()) << c.body;
  }
}

TEST(WhiteListClient, RefusalsLimitsAndSilenceAreToldInPolish) {
  test::HttpServer server;
  server.serve(kPath, 400, R"({"code":"WL-115","message":"Nieprawidłowy NIP."})");
  svc::WhiteListCheck refused = check(server);
  EXPECT_EQ(refused.outcome, WhiteListOutcome::Refused);
  EXPECT_EQ(refused.detail, "WL-115: Nieprawidłowy NIP.");
  EXPECT_EQ(svc::whiteListFailureText(refused, 5),
            "Wykaz podatników VAT odmówił odpowiedzi (WL-115: Nieprawidłowy NIP.).|Rachunek nie został oznaczony jako "
            "sprawdzony.");

  server.serve(kPath, 429, R"({"code":"WL-190","message":"Limit zapytań wyczerpany."})");
  svc::WhiteListCheck limit = check(server);
  EXPECT_EQ(limit.outcome, WhiteListOutcome::LimitReached);
  EXPECT_NE(svc::whiteListFailureText(limit, 5).find("limit zapytań"), std::string::npos);

  server.serve(kPath, 500, "");
  EXPECT_EQ(check(server).outcome, WhiteListOutcome::Malformed) << "a server error without JSON";

  svc::WhiteListCheck offline = svc::checkWhiteList({test::deadHttpAddress(), 5}, kNip, kAccount, kDay);
  EXPECT_EQ(offline.outcome, WhiteListOutcome::NoConnection);
  EXPECT_NE(svc::whiteListFailureText(offline, 5).find("Brak połączenia"), std::string::npos);

  server.handle(kPath, [](const test::HttpServer::Request&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    return test::HttpServer::Reply{200, answer("TAK"), "application/json"};
  });
  svc::WhiteListCheck slow = check(server, 1);
  EXPECT_EQ(slow.outcome, WhiteListOutcome::TimedOut);
  EXPECT_EQ(svc::whiteListFailureText(slow, 1).rfind("Wykaz podatników VAT nie odpowiedział w ciągu 1 s.", 0), 0u);
}

TEST(WhiteListClient, OnlyDigitsAndARealDayEverReachTheService) {
  test::HttpServer server;
  const svc::WhiteListSettings settings{server.baseUrl(), 5};
  struct Case {
    std::string nip, account;
    std::int32_t day;
  };
  const Case cases[] = {
      {"677100020", kAccount, kDay},                    // nine digits
      {"677-100-02-02", kAccount, kDay},                // as typed, not as sent
      {kNip, "2719900003000012345678901", kDay},        // 25 digits
      {kNip, "27199000030000123456789012/../x", kDay},  // a path in disguise
      {kNip, "DE89370400440532013000AAAA", kDay},       // a foreign account
      {kNip, kAccount, 0},                              // no day
  };
  for (const auto& c : cases) {
    svc::WhiteListCheck result = svc::checkWhiteList(settings, c.nip, c.account, c.day);
    EXPECT_EQ(result.outcome, WhiteListOutcome::Refused) << c.nip << " " << c.account;
  }
  EXPECT_TRUE(server.requests().empty());
  EXPECT_EQ(svc::whiteListCheckUrl("https://wl.example/", kNip, kAccount, rt::dayNumber(2027, 1, 2)),
            std::string("https://wl.example/api/check/nip/") + kNip + "/bank-account/" + kAccount + "?date=2027-01-02");
}

}  // namespace
}  // namespace slownik
