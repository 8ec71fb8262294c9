// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CRotavuDlg: the program's main dialog, a fixed-size modal window with a minimize box
// and a system menu. Twelve rows, each a line window with its three effect lists; around
// them Open, Save, Clear, the language choice, the LED colour menu, Send with the
// connection indicator and the progress bar. The decisions live in MainDialogState and
// the layout functions of main_dialog_model.h; this class moves widgets.
//
// The system menu: X11 window managers own their window menus, so the dialog keeps its
// own. It opens with Alt+Space (as a system menu does) and on a right click on the
// dialog's background, and holds the About item (command 16).
//
// Beyond the controls of the layout: the LED type and the font in use in the top band
// (running the same commands as the system menu), the toy's memory over the progress bar
// (the size of the image Send would build, from DeviceImage itself), each row's columns in
// its line window's tool tip, a short cue on a row that refused a character for want of
// room, and a notice of a successful Send in the progress area. An LED data file dropped
// on the dialog opens as Open does, save prompt first.
#include <QDialog>
#include <QHash>
#include <QPixmap>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "device/capacity.h"
#include "device/device_image.h"

#include "dialog/ldat_file.h"
#include "dialog/main_dialog_model.h"
#include "lines/line_room.h"
#include "lines/message_rows.h"

class CCapacityMeter;
class CDemoWnd;
class CFontChooserDlg;
class CFontComboBox;
class CKeyWnd;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace kirrup {
class Application;
class CInputChrWnd;
struct CharColumns;
class CMakeChrWnd;
class GlyphSource;
struct LanguageTable;
namespace platform {
class MessageSink;
}
}  // namespace kirrup

class CRotavuDlg : public QDialog {
  Q_OBJECT

 public:
  // app: the shared state (settings, languages, fonts, USB link); the running
  // application's when null, or a private default one when there is none.
  explicit CRotavuDlg(kirrup::Application* app = nullptr, QWidget* parent = nullptr);
  ~CRotavuDlg() override;

  // Control ids.
  enum : int {
    kExitCommand = 1,     // the Exit button, Escape, the close box
    kAboutCommand = 16,   // system menu: "关于 Kirrup(&A)..."
    kLogo = 1025,
    kIndicator = 1026,
    kBand = 1027,
    kOpen = 1028,
    kSave = 1029,
    kLedTypeButton = 1030,
    kDivider = 1031,
    kClear = 1032,
    kLanguage = 1033,
    kUserFont = 1034,
    kSysFont = 1035,
    kFontChooser = 1039,
    kLanguageLabel = 1040,
    kIndicatorFrame = 1041,
    kNoteBox = 1043,
    kProgress = 1044,
    kNoteText = 1046,
    kUseMiddle = 1047,
    kDataHeader = 1056,
    kOpenHeader = 1057,
    kMiddleHeader = 1058,
    kCloseHeader = 1059,
    kSymbolPlace = 1005,
    kSimulationPlace = 1006,
    kStart = 1010,
    kStop = 1011,
    kSend = 1012,
    kColor = 1013,
    kScrollBar = 1999,
    kListFrame = 2000,
    kRowLabel = 2001,    // + row
    kLineWindow = 3001,  // + row
    kTxtButton = 3212,   // + row
    kOpenCombo = 4001,   // + row
    kMiddleCombo = 4101, // + row
    kCloseCombo = 5001,  // + row
    kLed7Command = 8010, // 8010..8012
    kRedCommand = 8014,  // 8014..8017
  };
  static constexpr int kPollTimer = 1;
  static constexpr int kResetTimer = 2;
  static constexpr int kPollMs = 1000;
  static constexpr int kResetMs = 2500;
  static constexpr int kWidth = 896;  // the least; the row list widens for long effect texts
  static constexpr int kHeight = 607;

  struct RowControls {
    QLabel* label = nullptr;
    kirrup::CInputChrWnd* line = nullptr;
    QPushButton* txt = nullptr;
    QComboBox* open = nullptr;
    QComboBox* middle = nullptr;
    QComboBox* close = nullptr;
  };

  // A control by its id (rows included), or null.
  QWidget* Control(int id) const { return controls_.value(id, nullptr); }
  const RowControls& Row(int i) const { return rowControls_[i]; }
  QMenu* systemMenu() const { return systemMenu_; }
  // The LED colour menu; its pictures are drawn after the first paint or when first asked for.
  QMenu* colorMenu();
  QPushButton* exitButton() const { return exitButton_; }

  kirrup::MessageRows& rows() { return *rows_; }
  const kirrup::MainDialogState& state() const { return state_; }
  bool connected() const { return connected_; }
  // Which indicator picture is shown.
  bool showsConnectedPicture() const { return showsConnected_; }
  const kirrup::DeviceImage& deviceImage() const { return *image_; }
  const kirrup::LdatData& loadedFile() const { return ldat_; }
  // The character editor frame (hidden until a TXT button opens it; made after the first
  // paint, or at once when asked for earlier).
  kirrup::CMakeChrWnd* charEditor();

  // Starts drawing the pictures of the first paint on another thread (early in start-up,
  // before the dialog is made).
  static void PreparePictures();
  // The top band's LED type and font choices, the toy's memory, the cue on a row that
  // refused a character, the notice of a successful Send.
  QComboBox* ledTypeChoice() const { return ledTypeChoice_; }
  QPushButton* fontChoice() const { return fontChoice_; }
  CCapacityMeter* capacityMeter() const { return meter_; }
  QLabel* refusalCue() const { return refusalCue_; }
  QLabel* sentNotice() const { return sentNotice_; }

  // Handles a command of the dialog's controls and menus.
  void OnCommand(int id);
  // Scroll bar 1999.
  void OnVScroll(kirrup::ScrollCode code, int thumb = 0);
  // A tick of timer 1 or 2.
  void OnTimer(int timer);
  void ShowSystemMenu(const QPoint& globalPos);
  // Open without its file dialog: reads path and applies it, or says "Open file error!".
  void OpenFile(const QString& path);
  // Open of a file chosen elsewhere (dropped on the dialog): the save prompt, then OpenFile.
  void OpenWithPrompt(const QString& path);

  // Seams for tests and the companions.
  // Asked before Open, Clear, a LED type command and Exit; a message box by default.
  std::function<kirrup::SaveAnswer()> askSave;
  // The file dialogs: the chosen path, or empty for Cancel.
  enum class FileDialogKind { Open, Save };
  std::function<QString(FileDialogKind, const QString& offered)> chooseFile;
  // Where the failures of the commands are shown.
  kirrup::platform::MessageSink* messages = nullptr;
  // Characters for the lines (the application's fonts by default).
  void SetGlyphSource(kirrup::GlyphSource* glyphs);

  // Lays the rows out again (scroll position, LED type or middle options changed).
  void LayOutRows();

  // Takes the rows per page from frame 2000 as it is now and scrolls to the top.
  void SetUpScrolling();

  // Companion windows: the symbol picker (over place 1005) and the system font chooser
  // (1039), with the system menu's LED type and font entries.
  CKeyWnd* symbolPicker() const { return keyWnd_; }
  // Lists the installed families first when that has not happened yet.
  CFontComboBox* fontChooser();
  // WM_INSERT_RECORD: the record goes into the row whose line had the focus last.
  void OnInsertRecord(const kirrup::CharColumns& record);
  // Runs the font chooser dialog (exec by default; tests answer it).
  std::function<int(CFontChooserDlg&)> runFontChooser;
  void ChooseSystemFont();

 signals:
  // A row's line changed (after the dialog's own handling).
  void rowChanged(int row);
  // Commands the companion windows handle: font source 1034/1035, font chooser 1039,
  // TXT buttons 3212..3223.
  void companionCommand(int id);
  // A new LED type is being applied: the character editor frame hides itself.
  void ledTypeFollowing(int type);

 public slots:
  void reject() override;  // Escape and the close box are Exit

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Work no one sees in the first picture (hidden windows, lists and menus not open yet)
  // waits until that picture is on the screen; each task runs once, in order.
  void AfterFirstPaint(std::function<void()> task);
  void RunDeferred();

  void CreateControls();
  void CreateRow(int i);
  void DrawColourIcons();
  QPushButton* MakeButton(int id, const QString& icon, const QRect& geometry);
  void Register(int id, QWidget* widget, const char* name);
  void ArrangeTopBand();
  void CreateBandChoices();
  void PlaceBandChoices();
  QString Caption(int id, const char* english) const;
  void LoadPictures();
  int ListWidthForEffectTexts(const kirrup::LanguageTable& table);
  void WidenListFor(const kirrup::LanguageTable& table);

  void ApplyTexts(bool full);
  void RefillCombo(QComboBox* box, const QStringList& items);
  void RefreshNoteAndLedCaption();
  void RefreshBandChoiceTexts();
  // The LED type and font choices show what is in force.
  void SyncBandChoices();
  void OnLedTypeChosen(int index);
  // The meter and the rows' tool tips follow the rows.
  void RefreshCapacity();
  void RefreshRowRoom(int row);
  void RefreshRowRooms();
  void ShowRefusalCue(int row, kirrup::Refusal why);
  void ShowSentNotice(int bytes);
  void ApplyLedType(int type, bool rowReset);
  void SyncRowsEnabled();
  void SyncEffectsToCombos();
  void ShowLedTypeMenu();
  void SetLedColor(int command);
  void SelectLanguage(int index);
  void SetUseMiddle(bool on);

  void OnLineChanged(int id);
  // Enables the controls of a row that became enabled (nothing for -1).
  void EnableRow(int row);
  void OnLineFocused(int id);
  bool SavePrompt();  // false: the command is abandoned
  // Takes a drag of one LED data file; its path, or empty when the drag is ignored.
  QString AcceptLdatDrop(QDropEvent* event);
  void DoOpen();
  bool DoSave();  // false: nothing was saved
  void DoClear();
  void DoSend();
  void Exit();
  void SetIndicator(bool connectedPicture);
  // The indicator's tool tip, and its name for a reader.
  void SetIndicatorTip(const QString& tip);
  QString ChooseFile(FileDialogKind kind, const QString& offered);

  // Companion windows (rotavu_dlg_companions.cpp).
  void CreateSymbolPicker();
  void PlaceSymbolPicker();
  void FillSymbolPicker();
  void FollowLedType(int type);
  void OnFontSource();
  void OnFontChosen();
  void ListFonts();
  void AddCompanionMenus();
  void RefreshCompanionMenus();
  bool ChineseTexts() const;

  // The character editor: created hidden, opened by a row's TXT button, following every
  // line change, its size kept in the settings.
  void CreateCharEditor();  // once; later calls do nothing
  void OpenCharEditor(int row);
  void ReloadCharEditor();
  void StoreCharEditorSize();

  kirrup::Application* app_;
  std::unique_ptr<kirrup::Application> ownApp_;
  std::unique_ptr<kirrup::platform::MessageSink> ownMessages_;
  std::unique_ptr<kirrup::MessageRows> rows_;
  std::unique_ptr<kirrup::DeviceImage> image_;
  kirrup::LdatData ldat_;
  kirrup::MainDialogState state_;
  kirrup::ListArea listArea_;
  int listWidth_ = 0;  // frame 2000
  bool applying_ = false;  // the dialog itself changes lines or lists
  bool connected_ = false;
  bool showsConnected_ = true;

  QHash<int, QWidget*> controls_;
  std::array<RowControls, kirrup::MessageRows::kCount> rowControls_{};
  CDemoWnd* demo_ = nullptr;
  CKeyWnd* keyWnd_ = nullptr;
  CFontComboBox* fontChooser_ = nullptr;
  QMenu* ledTypeSubmenu_ = nullptr;
  QMenu* fontSubmenu_ = nullptr;
  kirrup::CMakeChrWnd* charEditor_ = nullptr;
  QLabel* ledTypeLabel_ = nullptr;
  QComboBox* ledTypeChoice_ = nullptr;
  QLabel* fontLabel_ = nullptr;
  QPushButton* fontChoice_ = nullptr;
  CCapacityMeter* meter_ = nullptr;
  QLabel* refusalCue_ = nullptr;
  QLabel* sentNotice_ = nullptr;
  QTimer refusalTimer_, noticeTimer_;
  std::unique_ptr<kirrup::CapacityMeter> capacity_;
  QMenu* systemMenu_ = nullptr;
  QMenu* colorMenu_ = nullptr;
  QPushButton* exitButton_ = nullptr;
  QPushButton* sendButton_ = nullptr;
  QPushButton* ledTypeButton_ = nullptr;
  QComboBox* languageBox_ = nullptr;
  QLabel* indicator_ = nullptr;
  QLabel* noteText_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  QCheckBox* useMiddle_ = nullptr;
  QRadioButton* userFont_ = nullptr;
  QRadioButton* sysFont_ = nullptr;
  QFrame* listFrame_ = nullptr;
  std::array<QLabel*, 4> headers_{};  // 1056..1059
  QPixmap connectedPicture_, disconnectedPicture_;
  QTimer pollTimer_, resetTimer_;
  std::vector<std::function<void()>> deferred_;
  bool painted_ = false;
};
