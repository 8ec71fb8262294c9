// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/rotavu_app.h"

#include <QDBusConnection>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <future>

#include "app/windows_language_ids.h"
#include "dialog/demo_wnd.h"
#include "dialog/rotavu_dlg.h"
#include "platform/font_families.h"
#include "platform/program_folder.h"

// The image strip and the cursors are compiled in as XPM data: decoding them straight
// from memory spares start-up the image reader and its search of format plugins.
#include "res/bitmap129.xpm"
#include "res/cursor231.xpm"
#include "res/cursor234.xpm"
#include "res/cursor239.xpm"
#include "res/cursor240.xpm"
#include "res/cursor245.xpm"
#include "res/cursor246.xpm"
#include "res/cursor247.xpm"
#include "res/cursor248.xpm"

static void InitResources() { Q_INIT_RESOURCE(kirrup); }

namespace {

// Work done ahead on other threads for the dialog's first picture. Font look-ups, one
// after the other: fontconfig's configuration (before the application object), then Qt's
// font database listed from it (once the object exists). And the session bus: the
// platform's accessibility bridge connects to it at the dialog's first accessible change
// and waits for the answer (without a bus, for a failed attempt to start one).
struct Ahead {
  std::future<bool> fontConfiguration;
  std::future<void> fontDatabase;
  std::future<void> sessionBus;
};

Ahead& WorkAhead() {
  static Ahead ahead;
  return ahead;
}

}  // namespace

void CRotavuApp::PrepareAhead() {
  Ahead& a = WorkAhead();
  if (!a.fontConfiguration.valid())
    a.fontConfiguration = std::async(std::launch::async, kirrup::platform::LoadFontConfiguration);
  CDemoWnd::PreparePicture();
}

void CMessageBoxSink::Show(kirrup::platform::MessageIcon icon, const std::string& caption,
                           const std::string& text) {
  using kirrup::platform::MessageIcon;
  const QMessageBox::Icon qIcon = icon == MessageIcon::Warning ? QMessageBox::Warning
                                  : icon == MessageIcon::Error ? QMessageBox::Critical
                                                               : QMessageBox::Information;
  QMessageBox box(qIcon, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
  box.exec();
}

CRotavuApp::CRotavuApp(int& argc, char** argv) : QApplication(argc, argv) {
  InitResources();
  setOrganizationName("ZeqSoft");
  setApplicationName("Kirrup");
  setApplicationVersion("2.0");
  executablePath = kirrup::platform::ExecutablePath();
  systemLanguageId = LanguageIdOf(QLocale::system());
  runMainDialog = [this] {
    CRotavuDlg dlg;
    // Queued: exec() shows the dialog first, so a failure's message box has its parent.
    if (!fileToOpen.empty())
      QTimer::singleShot(0, &dlg, [this, &dlg] { dlg.OpenFile(QFile::decodeName(fileToOpen.c_str())); });
    dlg.exec();
  };
}

CRotavuApp::~CRotavuApp() {
  // The font database and the bus connections are the application's: the work ahead ends
  // before it goes.
  Ahead& a = WorkAhead();
  if (a.fontDatabase.valid()) a.fontDatabase.wait();
  if (a.sessionBus.valid()) a.sessionBus.wait();
}

uint16_t CRotavuApp::LanguageIdOf(const QLocale& l) {
  // The locale as its codes; the core knows their Windows ids.
  if (l.language() == QLocale::C) return kirrup::WindowsLanguageId("C");
  return kirrup::WindowsLanguageIdOf(QLocale::languageToCode(l.language()).toStdString(),
                                     QLocale::scriptToCode(l.script()).toStdString(),
                                     QLocale::territoryToCode(l.territory()).toStdString());
}

CRotavuApp* CRotavuApp::Instance() { return qobject_cast<CRotavuApp*>(QCoreApplication::instance()); }

int CRotavuApp::Run() {
  InitInstance();
  ExitInstance();
  return 0;
}

void CRotavuApp::InitInstance() {
  // The fonts are listed, the session bus connected, the simulation's picture and the
  // dialog's pictures drawn meanwhile on the other core.
  if (runMainDialog) {
    Ahead& a = WorkAhead();
    if (!a.fontDatabase.valid()) {
      a.fontDatabase = std::async(std::launch::async, [configuration = std::move(a.fontConfiguration),
                                                       font = QApplication::font()]() mutable {
        if (configuration.valid()) configuration.wait();  // fontconfig would read it twice at once
        QFontDatabase::families();
        // The interface font's match and fallback families are the process's, not the
        // thread's: the dialog's first measure of a text finds them made.
        QFontMetrics(font).horizontalAdvance(QStringLiteral("Abc"));
      });
    }
    if (!a.sessionBus.valid()) a.sessionBus = std::async(std::launch::async, [] { QDBusConnection::sessionBus(); });
    CDemoWnd::PreparePicture();
    CRotavuDlg::PreparePictures();
  }
  Step("InitFramework");  // steps 1 to 3 were the constructor's
  StartUp(executablePath, *messageSink);
  Step("BuildImageList");
  BuildImageList();
  Step("LoadCursors");
  LoadCursors();
  LoadFonts();
  Step("RunMainDialog");
  if (runMainDialog) runMainDialog();
}

void CRotavuApp::ExitInstance() {
  WriteSettingsFile();
  Step("ReleaseImageListAndCursors");
  ReleaseImageListAndCursors();
  Release();
  Step("FrameworkExit");
}

void CRotavuApp::BuildImageList() {
  imageList.clear();
  const QPixmap strip(bitmap_129);
  constexpr int kImageWidth = 56;
  if (strip.isNull() || strip.width() < kImageWidth) {
    kirrup::platform::ErrorBox(*messageSink, "Could not load bitmaps");
    return;
  }
  for (int x = 0; x + kImageWidth <= strip.width(); x += kImageWidth) {
    QPixmap image = strip.copy(x, 0, kImageWidth, strip.height());
    image.setMask(image.createMaskFromColor(Qt::white, Qt::MaskInColor));
    imageList.append(image);
  }
}

QCursor CRotavuApp::LoadResourceCursor(int id) {
  struct HotSpot {
    int id;
    const char* const* xpm;
    int x, y;
  };
  static const HotSpot kHotSpots[] = {{231, cursor_231, 15, 15}, {234, cursor_234, 15, 15}, {239, cursor_239, 2, 28},
                                      {240, cursor_240, 1, 30},  {245, cursor_245, 15, 15}, {246, cursor_246, 1, 1},
                                      {247, cursor_247, 1, 1},   {248, cursor_248, 1, 1}};
  for (const HotSpot& h : kHotSpots) {
    if (h.id == id) return QCursor(QPixmap(h.xpm), h.x, h.y);
  }
  return QCursor(Qt::ArrowCursor);
}

void CRotavuApp::LoadCursors() {
  cursor246 = LoadResourceCursor(246);
  cursor248 = LoadResourceCursor(248);
  cursor247 = LoadResourceCursor(247);
  pointCursor = LoadResourceCursor(240);
  crossCursor = LoadResourceCursor(231);
  arrowCursor = QCursor(Qt::ArrowCursor);
  ibeamCursor = QCursor(Qt::IBeamCursor);
  const QCursor nwse(Qt::SizeFDiagCursor), nesw(Qt::SizeBDiagCursor);
  const QCursor ns(Qt::SizeVerCursor), we(Qt::SizeHorCursor);
  moveCursor = LoadResourceCursor(245);
  fillCursor = LoadResourceCursor(239);
  eraserCursor = LoadResourceCursor(234);
  cursorTable = {nwse, nesw, nwse, nesw, ns, we, ns, we, cursor246, cursor248, cursor247};
}

void CRotavuApp::ReleaseImageListAndCursors() {
  imageList.clear();
  for (QCursor* c : {&cursor246, &cursor248, &cursor247, &pointCursor, &crossCursor, &moveCursor, &fillCursor,
                     &eraserCursor}) {
    *c = QCursor();
  }
  cursorTable.fill(QCursor());
}
