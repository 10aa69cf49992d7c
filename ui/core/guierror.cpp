#include "ui/core/guierror.h"

#include "runtime/error/error.h"

namespace kv::ui {

namespace {

int g_language = 0;

struct GuiText {
  int n;
  const char* english;
  const char* spanish;                  // Windows-1250
  const char* suffixEnglish = nullptr;  // texts that name a thing: prefix, name, suffix
  const char* suffixSpanish = nullptr;
};

constexpr GuiText kTexts[] = {
    {3, "The menu is used by other form.", "El men\xFA ya est\xE1 usado en otro formulario."},
    {4, "The menu '", "El men\xFA '", " ' is used by other form.",
     " ' ya est\xE1 usado en otro formulario."},
    {5, "Already exists a component named '", "Ya existe un componente llamado '", " '", " '"},
    {7, "The control don't have parent window.", "El control no tiene ventana padre."},
    {8, "The control '", "El control '", " ' don't have parent window.",
     " ' no tiene ventana padre."},
    {9, "No MDI forms are currently active.", "No hay formularios MDI activos."},
    {10, "Cannot register class '", "No se puede registrar la clase '", " '.", " '."},
    {20, "Cannot create window from class '", "No se puede crear la ventana de la clase '", " '.",
     " '."},
    {21, "It is not a valid object.", "No es un objeto v\xE1lido."},
};

// The general code that goes with a library error: the argument and bound errors are the
// runtime's own; windows and classes the system refused are creation errors; the rest are
// wrong arguments in the wider sense.
int genCodeOf(int n) {
  switch (n) {
    case kGuiBound:
      return EG_BOUND;
    case kGuiRegisterClass:
    case kGuiCreateWindow:
      return EG_CREATE;
    default:
      return EG_ARG;
  }
}

}  // namespace

int messageLanguage() {
  return g_language;
}
void setMessageLanguage(int language) {
  g_language = language;
}

std::string guiErrorText(int n, std::string_view name) {
  if (n == kGuiArgument) return genCodeDescription(EG_ARG);
  if (n == kGuiBound) return genCodeDescription(EG_BOUND);
  const bool es = spanishTexts();
  for (const GuiText& t : kTexts) {
    if (t.n != n) continue;
    std::string text = es ? t.spanish : t.english;
    const char* suffix = es ? t.suffixSpanish : t.suffixEnglish;
    if (suffix) text += std::string(name) + suffix;
    return text;
  }
  return es ? "Error indeterminado." : "Indeterminate error.";
}

void guiError(int n, std::string_view operation, Args args, std::string_view name) {
  raiseError(ErrorRecord(genCodeOf(n), 6000 + n)
                 .in("GUI")
                 .op(operation)
                 .allow(kCanSubstitute)
                 .describe(guiErrorText(n, name))
                 .with(args));
}

}  // namespace kv::ui
