// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CRotavuApp: the one application object. The toolkit-free state and steps come from
// kirrup::Application; this class adds the Qt side: framework set-up, the image list,
// the cursors, message boxes and the modal main dialog.
#include <QApplication>
#include <QCursor>
#include <QList>
#include <QLocale>
#include <QPixmap>
#include <array>
#include <functional>
#include <string>

#include "app/application.h"
#include "platform/message_box.h"

// Shows the core's messages in modal message boxes.
class CMessageBoxSink : public kirrup::platform::MessageSink {
 public:
  void Show(kirrup::platform::MessageIcon icon, const std::string& caption, const std::string& text) override;
};

class CRotavuApp : public QApplication, public kirrup::Application {
  Q_OBJECT

 public:
  // Start-up steps 1 to 3: the framework's own initialisation, company "ZeqSoft".
  CRotavuApp(int& argc, char** argv);
  ~CRotavuApp() override;

  // Starts on other threads what the first picture needs and the display does not: the
  // font configuration and the simulation picture. Called before the application object
  // is made, so that it runs while the object connects to the display.
  static void PrepareAhead();

  // The application object (null before it is constructed).
  static CRotavuApp* Instance();
  // The Windows language id of a locale (0 when its language has none).
  static uint16_t LanguageIdOf(const QLocale& locale);

  // Start-up steps 4 to 13, then exit steps 1 to 9; returns the process status.
  int Run();

  // Where the program folder is taken from; the running executable unless a test says otherwise.
  std::string executablePath;
  // An LED data file given on the command line, opened once the main dialog is shown.
  std::string fileToOpen;
  // Step 13; by default runs CRotavuDlg modally. Tests may replace it.
  std::function<void()> runMainDialog;
  // Where start-up messages go: modal message boxes unless a test says otherwise.
  CMessageBoxSink messageBoxes;
  kirrup::platform::MessageSink* messageSink = &messageBoxes;

  // Bitmap 129 cut into images 56 pixels wide, white transparent; empty if it did not load.
  QList<QPixmap> imageList;
  // Indexed by the drawing board's selection handle: 0, 2 north-west/south-east sizing;
  // 1, 3 north-east/south-west; 4, 6 north/south; 5, 7 west/east; 8, 9, 10 cursors 246, 248, 247.
  std::array<QCursor, 11> cursorTable;
  // The named cursors, in the order they are declared.
  QCursor cursor246;
  QCursor cursor248;
  QCursor cursor247;
  QCursor arrowCursor;
  QCursor ibeamCursor;
  QCursor pointCursor;   // 240: the point tool
  QCursor crossCursor;   // 231: line, shape and select tools
  QCursor moveCursor;    // 245: over a selection
  QCursor fillCursor;    // 239: the fill tool
  QCursor eraserCursor;  // 234: the eraser

  // A resource cursor by its number (231, 234, 239, 240, 245, 246, 247, 248).
  static QCursor LoadResourceCursor(int id);

 private:
  void InitInstance();
  void ExitInstance();
  void BuildImageList();
  void LoadCursors();
  void ReleaseImageListAndCursors();
};
