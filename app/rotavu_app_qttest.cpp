// SPDX-License-Identifier: GPL-2.0-or-later
// The application object's whole run: start-up, the main dialog, exit.
#include <QBitmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>

#include "app/rotavu_app.h"
#include "app/windows_language_ids.h"
#include "dialog/rotavu_dlg.h"
#include "lines/led_type.h"

namespace {

class RecordingSink : public kirrup::platform::MessageSink {
 public:
  void Show(kirrup::platform::MessageIcon, const std::string& caption, const std::string& text) override {
    messages << QString::fromStdString(caption + ": " + text);
  }
  QStringList messages;
};

}  // namespace

class RotavuAppTest : public QObject {
  Q_OBJECT

 private slots:
  void runsStartUpDialogAndExitInOrder();
  void everyLocaleOfAKnownLanguageHasItsWindowsId();
};

void RotavuAppTest::runsStartUpDialogAndExitInOrder() {
  CRotavuApp* app = CRotavuApp::Instance();
  QVERIFY(app);
  QCOMPARE(QCoreApplication::organizationName(), QString("ZeqSoft"));

  QTemporaryDir dir;
  QVERIFY(QDir(dir.path()).mkdir("LIB"));
  QVERIFY(QFile::copy(FAKE_USB_COMPLETE, dir.filePath("LIB/VexoUSB.so")));
  app->executablePath = dir.filePath("kirrup").toStdString();
  RecordingSink sink;
  app->messageSink = &sink;
  QStringList steps;
  app->onStep = [&](std::string_view s) { steps << QString::fromUtf8(s.data(), static_cast<int>(s.size())); };

  int gapInDialog = -1;
  bool cursorsInDialog = false;
  int imagesInDialog = 0;
  bool whiteIsTransparent = false;
  app->runMainDialog = [&] {
    gapInDialog = kirrup::LedTypeRow(kirrup::kLed11).gap;
    imagesInDialog = static_cast<int>(app->imageList.size());
    if (imagesInDialog > 0) {
      const QImage first = app->imageList[0].toImage();
      whiteIsTransparent = qAlpha(first.pixel(0, 0)) == 0 && qAlpha(first.pixel(27, 28)) == 255;
    }
    cursorsInDialog = app->cursorTable[0].shape() == Qt::SizeFDiagCursor &&
                      app->cursorTable[1].shape() == Qt::SizeBDiagCursor &&
                      app->cursorTable[5].shape() == Qt::SizeHorCursor &&
                      app->cursorTable[6].shape() == Qt::SizeVerCursor &&
                      app->cursorTable[8].shape() == Qt::BitmapCursor && !app->cursorTable[10].pixmap().isNull() &&
                      app->pointCursor.hotSpot() == QPoint(1, 30) && app->ibeamCursor.shape() == Qt::IBeamCursor;
    CRotavuDlg dlg;
    app->settings.ledType = 2;  // as the main dialog would
    QTimer::singleShot(0, dlg.exitButton(), &QPushButton::click);
    QCOMPARE(dlg.exec(), CRotavuDlg::kExitCommand);
  };
  QCOMPARE(app->Run(), 0);

  QCOMPARE(steps, QStringList({"InitFramework", "ProgramFolder", "SettingsPath", "LoadUsbLibrary",
                               "ResolveUsbEntryPoints", "ReadLanguages", "ReadSettings", "BuildImageList",
                               "LoadCursors", "LoadFontLibraries", "CreateLedFonts", "RunMainDialog",
                               "OpenSettingsFile", "WriteSettings", "WriteLanguages",
                               "ReleaseImageListAndCursors", "ReleaseLedFonts", "ReleaseUserFontTables",
                               "UnloadUsbLibrary", "ReleaseFontLibraries", "FreeLanguages", "FrameworkExit"}));
  QVERIFY(sink.messages.isEmpty());
  QCOMPARE(gapInDialog, 2);
  QCOMPARE(imagesInDialog, 3);
  QVERIFY(whiteIsTransparent);
  QVERIFY(cursorsInDialog);
  QVERIFY(app->imageList.isEmpty());
  QVERIFY(!app->usbLibrary.loaded());

  QFile ini(dir.filePath("LIB/Kirrup.ini"));
  QVERIFY(ini.open(QIODevice::ReadOnly));
  const QByteArray bytes = ini.readAll();
  QVERIFY(bytes.startsWith("\xFF\xFE"));
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                          (bytes.size() - 2) / 2);
  QVERIFY2(text.startsWith("[Set]\r\nbUserFont=1\r\nSysFont=宋体\r\nLedType=3\r\n"), qPrintable(text.left(80)));
}

void RotavuAppTest::everyLocaleOfAKnownLanguageHasItsWindowsId() {
  // The table speaks the toolkit's codes.
  for (const kirrup::WindowsLocale& w : kirrup::WindowsLocales()) {
    const QString language = QString::fromLatin1(w.language.data(), qsizetype(w.language.size()));
    QVERIFY2(w.language == "no" || QLocale::codeToLanguage(language) != QLocale::AnyLanguage, qPrintable(language));
    if (!w.script.empty())
      QVERIFY(QLocale::codeToScript(QString::fromLatin1(w.script.data(), qsizetype(w.script.size()))) !=
              QLocale::AnyScript);
  }
  // Every locale of a language that has ids gets one of that language.
  for (const QLocale& l : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
    if (l.language() == QLocale::C) continue;
    const std::string code = QLocale::languageToCode(l.language()).toStdString();
    const bool known = std::any_of(kirrup::WindowsLocales().begin(), kirrup::WindowsLocales().end(),
                                   [&](const kirrup::WindowsLocale& w) { return w.language == code; });
    const uint16_t id = CRotavuApp::LanguageIdOf(l);
    QVERIFY2(known == (id != 0), qPrintable(l.name()));
    if (!known) continue;
    // (Kurdish and Central Kurdish share their id, so compare the languages' leading ids.)
    const std::string idLanguage(kirrup::WindowsLocaleOf(id)->language);
    QVERIFY2(kirrup::WindowsLanguageIdOf(code, "", "") == kirrup::WindowsLanguageIdOf(idLanguage, "", ""),
             qPrintable(l.name()));
  }
  QCOMPARE(CRotavuApp::LanguageIdOf(QLocale(QStringLiteral("en_GB"))), uint16_t(0x0809));
  QCOMPARE(CRotavuApp::LanguageIdOf(QLocale(QStringLiteral("sr_Latn_RS"))), uint16_t(0x241A));
  QCOMPARE(CRotavuApp::LanguageIdOf(QLocale::c()), uint16_t(0x0409));
}

int main(int argc, char** argv) {
  CRotavuApp app(argc, argv);
  RotavuAppTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "rotavu_app_qttest.moc"
