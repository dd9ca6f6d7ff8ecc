#pragma once
#include <gtest/gtest.h>

#include <string>

#include "framework/runtime/headless_front_end.h"
#include "framework/runtime/window_resource.h"
#include "support/backends.h"

namespace slownik::test {

//! Base of tests that play the user through the headless front-end: each test starts
//! with nothing queued and fails with the text of every unexpected message box, refused
//! action or unmet expectation; windows the test leaves open are closed.
class HeadlessTest : public testing::Test {
 protected:
  void SetUp() override {
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    rt::setResourceRoot(sourceDir() + "/tests/fixtures");
  }

  void TearDown() override {
    fe_->closeAll();
    expectNoProblems();
  }

  //! Fails the test with every problem the front-end saw since the last check.
  void expectNoProblems() {
    for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
  }

  rt::HeadlessFrontEnd& fe() { return *fe_; }

 private:
  rt::HeadlessFrontEnd* fe_ = nullptr;
};

}  // namespace slownik::test
