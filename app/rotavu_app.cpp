// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/rotavu_app.h"

#include <QFile>
#include <QFontDatabase>
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

// Font look-ups made ahead, one after the other on another thread: fontconfig's
// configuration (before the application object), then Qt's font database listed from it
// (once the object exists). The dialog's first measured text finds both ready.
struct FontsAhead {
  std::future<bool> configuration;
  std::future<void> database;
};

FontsAhead& Ahead() {
  static FontsAhead ahead;
  return ahead;
}

}  // namespace

void CRotavuApp::PrepareAhead() {
  FontsAhead& a = Ahead();
  if (!a.configuration.valid())
    a.configuration = std::async(std::launch::async, kirrup::platform::LoadFontConfiguration);
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
  // The font database is the application's: the listing ends before it goes.
  if (Ahead().database.valid()) Ahead().database.wait();
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
  // The fonts are listed, the simulation's picture and the dialog's icons drawn meanwhile
  // on the other core.
  if (runMainDialog) {
    FontsAhead& a = Ahead();
    if (!a.database.valid()) {
      a.database = std::async(std::launch::async, [configuration = std::move(a.configuration)]() mutable {
        if (configuration.valid()) configuration.wait();  // fontconfig would read it twice at once
        QFontDatabase::families();
      });
    }
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
