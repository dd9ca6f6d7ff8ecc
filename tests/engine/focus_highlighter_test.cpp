#include <gtest/gtest.h>

#include "engine/focus_highlighter.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/procedure_thread.h"
#include "runtime/headless_test.h"

namespace slownik::engine {
namespace {

constexpr long kYellow = 13434879;
constexpr long kRed = 255;
constexpr long kGreen = 65280;

TEST(FocusHighlighterRules, WhatCountsAsNoValueYet) {
  struct Row {
    const char* picture;
    const char* value;
    bool missing;
  };
  const Row rows[] = {
      {"@s20", "", true},       {"@s20", "   ", true},   {"@s20", "0", false},    {"@s20", "Jan", false},
      {"", "", true},           {"@n9", "0", true},      {"@n-9.2", "0.00", true}, {"@n9", "", true},
      {"@n9", "5", false},      {"@n-9.2", "-0.01", false}, {"@d17", "0", true},  {"@d17", "82525", false},
      {"@t7", "0", true},       {"@t7", "360001", false}, {"@e12.4", "0", true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FocusHighlighter::lacksValue(row.picture, row.value), row.missing)
        << row.picture << " \"" << row.value << "\"";
  }
}

// A form whose procedure feeds every event to a highlighter, as the record form does.
// ?KOD has a background of its own, set before the highlighter starts.
void formProcedure() {
  auto window = rt::Window::open("slownik$eng001", "P1$FORMWINDOW");
  if (!window) return;
  window->setBackColor("?KOD", kGreen);
  FocusHighlighter highlighter;
  highlighter.start(window);
  for (;;) {
    rt::Event e = window->nextEvent();
    if (window->isClosed() || e.code == rt::event::CloseWindow) break;
    highlighter.takeEvent(e);
    if (e.code == rt::event::Accepted && e.control == "?CANCEL") break;
  }
  highlighter.stop();
  window->close();
}

class FocusHighlighterTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    thread_ = rt::startProcedure(formProcedure);
    form_ = fe().waitForWindow("Formularz próbny");
    ASSERT_NE(form_, nullptr);
  }
  void TearDown() override {
    fe().closeAll();
    thread_.join();
    HeadlessTest::TearDown();
  }
  long back(const char* control) const { return form_->control(control)->backColor; }
  long frame(const char* control) const { return form_->control(control)->frameColor; }

  rt::ProcedureThread thread_;
  std::shared_ptr<rt::Window> form_;
};

TEST_F(FocusHighlighterTest, MarksTheFocusedControlAndGivesTheLastOneItsLookBack) {
  // At start the first control has the focus: required and empty, so the frame is red.
  ASSERT_EQ(form_->focus(), "?NAZWA");
  EXPECT_EQ(back("?NAZWA"), kYellow);
  EXPECT_EQ(frame("?NAZWA"), kRed);

  ASSERT_TRUE(fe().press(form_, rt::key::Tab));
  EXPECT_EQ(form_->focus(), "?KOD");
  EXPECT_EQ(back("?NAZWA"), rt::kNoColor);
  EXPECT_EQ(frame("?NAZWA"), rt::kNoColor);
  EXPECT_EQ(back("?KOD"), kYellow);
  EXPECT_EQ(frame("?KOD"), rt::kNoColor);  // not required: a frame without colour
  EXPECT_EQ(form_->control("?KOD")->fontWeight, rt::kNormalWeight);

  // Leaving ?KOD gives it back its own green, not "no colour".
  ASSERT_TRUE(fe().press(form_, rt::key::Tab));
  EXPECT_EQ(back("?KOD"), kGreen);
  EXPECT_EQ(frame("?KOD"), rt::kNoColor);

  // Required number and date fields at 0 have no value yet.
  EXPECT_EQ(form_->focus(), "?ILOSC");
  EXPECT_EQ(frame("?ILOSC"), kRed);
  ASSERT_TRUE(fe().press(form_, rt::key::Tab));
  EXPECT_EQ(frame("?DATA"), kRed);
  EXPECT_EQ(back("?ILOSC"), rt::kNoColor);

  // Filled in, they are framed without colour when they get the focus again.
  ASSERT_TRUE(fe().type(form_, "?NAZWA", "Śruba M6"));
  ASSERT_TRUE(fe().type(form_, "?ILOSC", "12"));
  ASSERT_TRUE(fe().click(form_, "?NAZWA"));
  EXPECT_EQ(back("?NAZWA"), kYellow);
  EXPECT_EQ(frame("?NAZWA"), rt::kNoColor);
  ASSERT_TRUE(fe().click(form_, "?ILOSC"));
  EXPECT_EQ(frame("?ILOSC"), rt::kNoColor);
  EXPECT_EQ(back("?NAZWA"), rt::kNoColor);
}

TEST_F(FocusHighlighterTest, ButtonsDropListsAndDecorationStayAsTheyAre) {
  for (const char* control : {"?OK", "?RODZAJ"}) {
    SCOPED_TRACE(control);
    form_->select(control);
    ASSERT_TRUE(fe().settle(form_));
    EXPECT_EQ(form_->focus(), control);
    EXPECT_EQ(back(control), rt::kNoColor);
    EXPECT_EQ(frame(control), rt::kNoColor);
    EXPECT_EQ(back("?NAZWA"), rt::kNoColor);  // the marked one was let go
  }
  for (const char* control : {"?INFO", "?NAZWA:PROMPT", "?RAMKA"}) {
    EXPECT_EQ(back(control), rt::kNoColor) << control;
    EXPECT_EQ(frame(control), rt::kNoColor) << control;
  }
  // Other focusable kinds are marked.
  for (const char* control : {"?AKTYWNY", "?JEDNOSTKA", "?PROCENT", "?UWAGI", "?POZYCJE"}) {
    form_->select(control);
    ASSERT_TRUE(fe().settle(form_));
    EXPECT_EQ(back(control), kYellow) << control;
  }
}

TEST_F(FocusHighlighterTest, RedrawRecomputesTheFrameAndSelectingMovesTheMark) {
  ASSERT_EQ(frame("?NAZWA"), kRed);
  // Code fills the field; the frame follows at the next redraw.
  form_->setValue("?NAZWA", "Nakrętka");
  form_->post(rt::event::Redraw);
  ASSERT_TRUE(fe().settle(form_));
  EXPECT_EQ(frame("?NAZWA"), rt::kNoColor);
  EXPECT_EQ(back("?NAZWA"), kYellow);

  form_->setValue("?NAZWA", "");
  form_->post(rt::event::Sized);
  ASSERT_TRUE(fe().settle(form_));
  EXPECT_EQ(frame("?NAZWA"), kRed);

  // Event 21 (a control being selected by the mouse) moves the mark as 257 does.
  form_->post(rt::event::Selecting, "?DATA");
  ASSERT_TRUE(fe().settle(form_));
  EXPECT_EQ(back("?NAZWA"), rt::kNoColor);
  EXPECT_EQ(frame("?NAZWA"), rt::kNoColor);
  EXPECT_EQ(back("?DATA"), kYellow);
  EXPECT_EQ(frame("?DATA"), kRed);
}

TEST_F(FocusHighlighterTest, StopGivesTheMarkedControlItsLookBack) {
  ASSERT_TRUE(fe().click(form_, "?KOD"));
  ASSERT_EQ(back("?KOD"), kYellow);
  ASSERT_TRUE(fe().close(form_));  // the close box: the procedure stops the highlighter
  ASSERT_TRUE(fe().waitForClose(form_));
  EXPECT_EQ(back("?KOD"), kGreen);
  EXPECT_EQ(frame("?KOD"), rt::kNoColor);
}

}  // namespace
}  // namespace slownik::engine
