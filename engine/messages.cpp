// The check captions and result texts in Catalan, English and Spanish, in Windows-1252.
#include "engine/messages.h"

namespace {

// Texts are Windows-1252; accented letters are written as octal escapes.
const char* const kCheckCaptions[kLanguageCount][4] = {
    {"", "Error: car\340cter no v\340lid", "Error: Falta operador", "Error: Falta operand"},
    {"", "Error: wrong character", "Error: lacks operator", "Error: lacks operand"},
    {"", "Error: car\341cter no v\341lido", "Error: Falta operador", "Error: Falta operando"},
};

// The factorial text has four lines joined by CR LF; the second is empty.
const char* const kResultTexts[kLanguageCount][kResultCodeCount] = {
    {"", "Divisi\363 per zero",
     "* Error de factorial (n!)*\r\n\r\nn ha d'estar a l'interval [0,170]\r\n( <=170 per raons t\350cniques)",
     "Pot\350ncia de base negativa i exponent no enter", "Desbordament (massa gran)"},
    {"", "Division by zero", "* Factorial (n!) error*\r\n\r\nn must be in [0,170] range\r\n( <=170 by technic reasons)",
     "Power of negative base and not integer exponent", "Overflow (too great)"},
    {"", "Divisi\363n por cero",
     "* Error de factorial (n!)*\r\n\r\nn debe estar en el intervalo [0,170]\r\n( <=170 por razones t\351cnicas)",
     "Potencia de base negativa y exponente no entero", "Desbordamiento"},
};

}  // namespace

const char* CheckMessageCaption(Language language, int number) {
  return number >= 0 && number < 4 ? kCheckCaptions[ValidLanguage(language)][number] : "";
}

const char* ResultText(Language language, int code) {
  return code >= 0 && code < kResultCodeCount ? kResultTexts[ValidLanguage(language)][code] : "";
}
