// The term request from field texts to result texts, without a window.
#include "termrequest/term_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr TickedSlots kAll = {true, true, true};

struct NFieldCase {
  std::string typed;
  bool bad;
  std::int32_t n;  // as read
  bool filled;
};

// The n field is read as GetItemInt reads it, and only an exactly empty field
// becomes "1": blanks alone read as 0, which is no natural number.
TEST(TermTexts, NFieldReading) {
  const NFieldCase cases[] = {
      {"", false, 1, true},
      {"   ", true, 0, false},
      {"  7  ", false, 7, false},
      {"$A", false, 10, false},
      {"65535", false, 65535, false},
      {"65536", true, 65536, false},
      {"-3", true, -3, false},
      {"2.5", true, 0, false},
      {std::string(254, ' ') + "1", true, 1, false},  // longer than the field holds
  };
  for (const NFieldCase& c : cases) {
    TermTexts r = RequestTerms("n", c.typed, kAll, kCatalan);
    EXPECT_EQ(r.stop, c.bad ? RequestStop::kBadN : RequestStop::kNone) << c.typed;
    EXPECT_EQ(r.n, c.n) << c.typed;
    EXPECT_EQ(r.n_filled, c.filled) << c.typed;
    if (c.bad) {
      EXPECT_EQ(r.message.caption, "* error *");
      EXPECT_EQ(r.message.text, "nom\351s nombres naturals (enters positius)");
      for (const SlotResult& slot : r.slots) EXPECT_FALSE(slot.computed);
    }
  }
}

TEST(TermTexts, SlotsAndRejections) {
  // An error in one slot stays there; an unticked slot is not computed.
  TermTexts r = RequestTerms("1/(n-2)", "3", {true, false, true}, kCatalan);
  ASSERT_EQ(r.stop, RequestStop::kNone);
  EXPECT_EQ(r.slots[0].text, "1");
  EXPECT_EQ(r.slots[0].code, 0);
  EXPECT_FALSE(r.slots[1].computed);
  EXPECT_TRUE(r.slots[2].computed);
  EXPECT_EQ(r.slots[2].text, "Divisi\363 per zero");

  // A rejected formula carries the check's message and n is not looked at.
  r = RequestTerms("2n", "abc", kAll, kCatalan);
  EXPECT_EQ(r.stop, RequestStop::kFormulaRejected);
  EXPECT_TRUE(r.message.shown);
  EXPECT_EQ(r.message.text, "2?n");
  r = RequestTerms("  ", "1", kAll, kCatalan);
  EXPECT_EQ(r.stop, RequestStop::kFormulaRejected);
  EXPECT_FALSE(r.message.shown);
}

}  // namespace
