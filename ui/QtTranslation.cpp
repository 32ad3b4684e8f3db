#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

bool ZaladujTlumaczenieQt() {
  auto* app = QCoreApplication::instance();
  if (!app) return false;
  const QString foldery[] = {
      QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
      QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
  auto* tlumaczenie = new QTranslator(app);
  for (const QString& folder : foldery) {
    if (tlumaczenie->load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(tlumaczenie))
      return true;
  }
  delete tlumaczenie;
  return false;
}

}  // namespace ui
