#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <string>

namespace posewright {

namespace {
// Every translated text lives in this context (ui/translations/posewright_en.ts).
const char kContext[] = "posewright";
}  // namespace

void InstallTranslations(QCoreApplication& app) {
  const QLocale::Language language = QLocale::system().language();
  if (language == QLocale::Japanese || language == QLocale::C) {
    return;
  }
  auto* english = new QTranslator(&app);
  if (english->load(QStringLiteral(":/i18n/posewright_en.qm"))) {
    QCoreApplication::installTranslator(english);
  } else {
    delete english;
  }
}

QString ShownText(std::string_view text) {
  const std::string source(text);
  return QCoreApplication::translate(kContext, source.c_str());
}
}  // namespace posewright
