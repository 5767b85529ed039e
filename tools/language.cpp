// The texts of Tools in three languages, and the choice of language from the command line or "Lng.txt".
#include "tools/language.h"

#include <cstdio>

#include "tools/items.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Texts are Windows-1252.
constexpr WindowTexts kWindowTexts[3] = {
    {"Edici\363 eines", "Eines", "Eina", {"T\355tol", "Fitxer", "Directori de treball", "Par\340metres"}},
    {"Tools edition", "Tools", "Tool", {"Title", "File", "Work directory", "Parameters"}},
    {"Edici\363n utilidades",
     "Utilidades",
     "Utilidad",
     {"T\355tulo", "Fichero", "Directorio de trabajo", "Par\341metros"}},
};

constexpr const char* kDeleteCaptions[3] = {"Confirmar eliminaci\363", "Confirm erasing", "Confirmar eliminaci\363n"};
constexpr const char* kDeletePromptStarts[3] = {"Eliminar ", "Erase ", "\277Eliminar "};

constexpr const char* kNotices[10][3] = {
    {"La llista ja t\351 12 eines: no se'n pot afegir cap m\351s.",
     "The list already holds 12 tools: no more can be added.",
     "La lista ya tiene 12 utilidades: no se puede a\361adir ninguna m\341s."},
    {"Una eina sense t\355tol no es pot desar.", "A tool without a title cannot be stored.",
     "Una utilidad sin t\355tulo no se puede guardar."},
    {"No s'ha pogut escriure Tools.rel. La llista no s'ha desat.",
     "Tools.rel could not be written. The list has not been saved.",
     "No se ha podido escribir Tools.rel. La lista no se ha guardado."},
    {"Tools.rel t\351 m\351s de 12 eines. Nom\351s s'han llegit les 12 primeres; les altres no es conservaran si "
     "es desa la llista.",
     "Tools.rel holds more than 12 tools. Only the first 12 were read; the others will not be kept if the list is "
     "saved.",
     "Tools.rel tiene m\341s de 12 utilidades. S\363lo se han le\355do las 12 primeras; las dem\341s no se "
     "conservar\341n si se guarda la lista."},
    {"No s'ha pogut llegir Tools.rel. No se substituir\340 mentre el programa estigui obert, perqu\350 no es "
     "perdin les eines que cont\351.",
     "Tools.rel could not be read. It will not be replaced while the program is open, so that the tools it holds "
     "are not lost.",
     "No se ha podido leer Tools.rel. No se sustituir\341 mientras el programa est\351 abierto, para que no se "
     "pierdan las utilidades que contiene."},
    {"Nom\351s s'ha pogut llegir una part de Tools.rel: despr\351s del punt on s'ha aturat la lectura hi ha m\351s "
     "text (eines despr\351s d'una l\355nia buida, text despr\351s d'un Ctrl-Z o una altra codificaci\363). No se "
     "substituir\340 mentre el programa estigui obert, perqu\350 no es perdi res del que cont\351.",
     "Only part of Tools.rel could be read: there is more text after the place where reading stopped (tools after "
     "an empty line, text after a Ctrl-Z, or another encoding). It will not be replaced while the program is open, "
     "so that nothing it holds is lost.",
     "S\363lo se ha podido leer una parte de Tools.rel: despu\351s del punto donde se ha detenido la lectura hay "
     "m\341s texto (utilidades despu\351s de una l\355nea vac\355a, texto despu\351s de un Ctrl-Z u otra "
     "codificaci\363n). No se sustituir\341 mientras el programa est\351 abierto, para que no se pierda nada de lo "
     "que contiene."},
    {"Tools.rel ha canviat des que es va llegir (potser l'ha desat una altra c\362pia de Tools). Voleu "
     "substituir-lo per aquesta llista?",
     "Tools.rel has changed since it was read (another copy of Tools may have saved it). Replace it with this list?",
     "Tools.rel ha cambiado desde que se ley\363 (quiz\341 lo ha guardado otra copia de Tools). \277Desea "
     "sustituirlo por esta lista?"},
    {"Aquesta eina t\351 car\340cters que no es poden escriure a Tools.rel. Canvieu-los per poder desar-la.",
     "This tool holds characters that cannot be written to Tools.rel. Change them to store it.",
     "Esta utilidad tiene caracteres que no se pueden escribir en Tools.rel. C\341mbielos para poder guardarla."},
    {"Una altra c\362pia de Tools est\340 desant Tools.rel. La llista no s'ha desat: torneu a pr\351mer Ok.",
     "Another copy of Tools is saving Tools.rel. The list has not been saved: press Ok again.",
     "Otra copia de Tools est\341 guardando Tools.rel. La lista no se ha guardado: vuelva a pulsar Ok."},
    {"No es pot desar Tools.rel ni a la carpeta actual ni a la carpeta de l'usuari: la llista es pot editar, "
     "per\362 no es podr\340 desar.",
     "Tools.rel cannot be saved in the current folder or in the user's folder: the list can be edited, but it "
     "cannot be saved.",
     "No se puede guardar Tools.rel ni en la carpeta actual ni en la carpeta del usuario: la lista se puede editar, "
     "pero no se podr\341 guardar."},
};

int Index(std::int16_t language) {
  return language >= kLanguageCatalan && language <= kLanguageSpanish ? language : kLanguageEnglish;
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// Hidden and system files do not count as a language file.
bool LanguageFileExists(const std::string& file) {
#ifdef _WIN32
  DWORD attributes = GetFileAttributesA(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
#else
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
#endif
}

// The first field of the language file; empty when it cannot be read.
std::string FirstField(const std::string& file) {
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return {};
  std::string content;
  char buffer[512];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
  std::fclose(f);
  ItemReader reader{content};
  return HasData(reader) ? ReadItem(reader) : std::string();
}

}  // namespace

std::int16_t LanguageOfWord(std::string_view word) {
  if (word.empty()) return kUndecided;
  std::string lower = LowerCase(word);
  if (lower == "cat") return kLanguageCatalan;
  if (lower == "esp") return kLanguageSpanish;
  return kLanguageEnglish;
}

LanguageChoice SelectLanguage(std::string_view commandText, std::int16_t language, const std::string& languageFile) {
  if (!commandText.empty()) return {LanguageOfWord(commandText), false};
  // An empty language file, or an empty first field, counts as no language file:
  // reading it again would give the same empty word without end.
  std::string word = LanguageFileExists(languageFile) ? FirstField(languageFile) : std::string();
  if (word.empty()) return {language, true};
  return {LanguageOfWord(word), false};
}

std::string CommandText(std::string_view commandLine) {
  std::size_t pos = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    pos = commandLine.find('"', 1);
    pos = pos == std::string_view::npos ? commandLine.size() : pos + 1;
  }
  while (pos < commandLine.size() && commandLine[pos] != ' ' && commandLine[pos] != '\t') ++pos;
  while (pos < commandLine.size() && (commandLine[pos] == ' ' || commandLine[pos] == '\t')) ++pos;
  return std::string(commandLine.substr(pos));
}

const WindowTexts& WindowTextsOf(std::int16_t language) { return kWindowTexts[Index(language)]; }

const char* DeleteCaption(std::int16_t language) { return kDeleteCaptions[Index(language)]; }

const char* DeletePromptStart(std::int16_t language) { return kDeletePromptStarts[Index(language)]; }

const char* NoticeText(Notice notice, std::int16_t language) {
  return kNotices[static_cast<int>(notice)][Index(language)];
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
      b -= 0x20;
    else if (b == 0x9A || b == 0x9C || b == 0x9E)  // s, oe and z with their marks
      b -= 0x10;
    else if (b == 0xFF)  // y with diaeresis
      b = 0x9F;
    c = static_cast<char>(b);
  }
  return upper;
}

std::string DeletePrompt(std::string_view title, std::int16_t language) {
  return DeletePromptStart(language) + UpperCase(title) + " ?";
}
