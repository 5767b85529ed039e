// Texts that Vantel shows, in Windows-1252, and small checks shared by the tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/vantel_e2e/driver.h"

namespace e2e {

inline const std::string kBadN = "nom\351s nombres naturals (enters positius)";
inline const std::string kBadNCaption = "* error *";
inline const std::string kDivision = "Divisi\363 per zero";
inline const std::string kFactorialStart = "* Error de factorial (n!)*";
inline const std::string kNegativeBase = "Pot\350ncia de base negativa i exponent no enter";
inline const std::string kOverflow = "Desbordament (massa gran)";
inline const std::string kBadChar = "Error: car\340cter no v\340lid";
inline const std::string kNoOperator = "Error: Falta operador";
inline const std::string kNoOperand = "Error: Falta operand";
inline const std::string kParenCaption = "Error: ";
inline const std::string kHistoryCaption = "* error *";
inline const std::string kHistoryUnreadable =
    "No s'ha pogut llegir sencer ults.rel: no es modificar\340 i les f\363rmules d'aquesta sessi\363 no s'hi desaran.";
inline const std::string kHistoryNowhere =
    "No es pot desar ults.rel ni a la carpeta actual ni a la carpeta de l'usuari: les f\363rmules d'aquesta "
    "sessi\363 es poden fer servir, per\362 no es desaran.";
inline const std::string kHistoryFull =
    "L'historial ja t\351 65535 f\363rmules: les f\363rmules noves no s'hi han afegit.";
inline const std::string kHistoryNotSaved = "No s'ha pogut desar l'historial: ";
inline const std::string kStartCaption = "* error *";
inline const std::string kFormulaTooLong302 =
    "La f\363rmula de la l\355nia d'ordres t\351 302 car\340cters i el camp en pot contenir 254: no s'ha calculat ni "
    "desat.";

// Marks a result that must be the text of some computation error, not a number.
inline const std::string kAnyError = "<any error text>";

inline bool IsErrorText(const std::string& text) {
  return text == kDivision || text.rfind(kFactorialStart, 0) == 0 || text == kNegativeBase || text == kOverflow;
}

// A result box holds `expected`; for the factorial error its first line is enough,
// since how a single-line field keeps the line breaks is the platform's affair.
inline void ExpectResult(const std::string& got, const std::string& expected, const char* box) {
  if (expected == kAnyError) {
    EXPECT_TRUE(IsErrorText(got)) << box << " holds \"" << got << "\"";
  } else if (expected == kFactorialStart) {
    EXPECT_EQ(got.substr(0, expected.size()), expected) << box;
  } else {
    EXPECT_EQ(got, expected) << box;
  }
}

inline void ExpectResults(const Vantel& v, const std::string& a, const std::string& s, const std::string& p) {
  ExpectResult(v.Text(IDC_AN_BOX), a, "a_n");
  ExpectResult(v.Text(IDC_SN_BOX), s, "S_n");
  ExpectResult(v.Text(IDC_PN_BOX), p, "P_n");
}

// Exactly one message box was shown, with this caption and text and an OK button only.
inline void ExpectOneBox(const std::vector<SeenBox>& boxes, const std::string& caption, const std::string& text) {
  ASSERT_EQ(boxes.size(), 1u) << "expected the message \"" << caption << "\" / \"" << text << "\"";
  EXPECT_EQ(boxes[0].caption, caption);
  EXPECT_EQ(boxes[0].text, text);
  EXPECT_EQ(boxes[0].buttons, 1);
}

inline void ExpectNoBox(const std::vector<SeenBox>& boxes) {
  for (const SeenBox& box : boxes)
    ADD_FAILURE() << "unexpected message \"" << box.caption << "\" / \"" << box.text << "\"";
}

// Closes the program with "&Prou!" and waits for it to end with code 0.
inline void CloseNormally(Vantel& v) {
  ExpectNoBox(v.Click(IDC_ENOUGH));
  DWORD code = 1;
  ASSERT_TRUE(v.WaitExit(&code)) << "the program did not end";
  EXPECT_EQ(code, 0u);
}

}  // namespace e2e
