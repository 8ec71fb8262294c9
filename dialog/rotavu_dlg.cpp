// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/rotavu_dlg.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadialGradient>
#include <QRadioButton>
#include <QScrollBar>

#include "app/accessible_texts.h"
#include "app/languages.h"
#include "app/rotavu_app.h"
#include "app/settings_location.h"
#include "device/usb_transfer.h"
#include "dialog/about_dlg.h"
#include "dialog/capacity_meter.h"
#include "dialog/demo_rows.h"
#include "dialog/demo_wnd.h"
#include "dialog/effect_combo_box.h"
#include "editor/board_view_input.h"
#include "fonts/font_combo_box.h"
#include "editor/make_chr_wnd.h"
#include "lines/input_chr_wnd.h"
#include "widgets/accessibility.h"
#include "widgets/file_drop.h"
#include "widgets/svg_image.h"

using kirrup::MessageRows;
using kirrup::ScrollCode;

namespace {

// Sizes of the layout, in logical pixels.
constexpr int kMargin = 12;
constexpr int kComboHeight = 24;
constexpr int kRowGap = 7;  // between rows of a full page
constexpr int kLabelWidth = 20;
constexpr QSize kTxtSize(36, 24);
constexpr QSize kLogoSize(168, 48);
constexpr QSize kIndicatorSize(40, 40);
constexpr QSize kBandButton(88, 34);
constexpr int kLanguageWidth = 158;
constexpr int kListWidth = 660;  // the least; wider when the effect texts need it
constexpr int kSideWidth = 200;
// The simulation window: its 192 x 192 client area inside a 1-pixel border.
constexpr int kSimulationOuter = kirrup::kDemoPictureSize + 2;
constexpr int kSymbolPlaceHeight = 128;
constexpr int kButtonHeight = 32;
// The band's LED type and font choices: two rows of a label and its control.
constexpr int kChoiceRowHeight = 22;
constexpr int kChoiceMaxWidth = 210;
constexpr int kMeterHeight = 32;

// The row list holds all twelve rows at once.
constexpr int kInnerHeight = MessageRows::kCount * kComboHeight + (MessageRows::kCount - 1) * kRowGap;

// The look: Qt's own style in a light palette; only the panels and the Send button get
// style sheets of their own (one for the whole dialog would slow every widget's start).
const char* const kPanelStyle = "background: #ffffff; border: none; border-bottom: 1px solid #dfe4ea;";
const char* const kListStyle = "QFrame { background: #ffffff; border: 1px solid #d6dce4; border-radius: 6px; }";
const char* const kNoteStyle = R"(
QGroupBox { background: #ffffff; border: 1px solid #d6dce4; border-radius: 6px; margin-top: 9px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0px 4px; color: #5d6878; font-weight: bold; }
)";
const char* const kSendStyle = R"(
QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3b7be6, stop:1 #2d67cc);
              color: #ffffff; border: 1px solid #2a5fbd; border-radius: 5px; font-weight: bold; }
QPushButton:hover { background: #4586ee; }
QPushButton:pressed { background: #2a5fbd; }
QPushButton:disabled { background: #b7c8e8; border-color: #b7c8e8; color: #f2f5fb; }
)";

// Text colours of enabled controls only: disabled ones keep the style's grey.
void SetText(QPalette& p, QPalette::ColorRole role, QColor colour) {
  p.setColor(QPalette::Active, role, colour);
  p.setColor(QPalette::Inactive, role, colour);
}

QPalette DialogPalette(QPalette p) {
  p.setColor(QPalette::Window, QColor(0xf3, 0xf5, 0xf8));
  p.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xd6));
  SetText(p, QPalette::WindowText, QColor(0x1f, 0x2a, 0x3d));
  SetText(p, QPalette::ButtonText, QColor(0x1f, 0x2a, 0x3d));
  return p;
}

void Tint(QWidget* w, QColor text) {
  QPalette p = w->palette();
  SetText(p, QPalette::WindowText, text);
  w->setPalette(p);
}

QRect ToQRect(const kirrup::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

QString Text(const std::u16string& s) { return QString::fromStdU16String(s); }

// A lit LED of the colour for the colour menu.
QIcon LedIcon(QColor colour) {
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) {
    QPixmap p(QSize(16, 16) * ratio);
    p.setDevicePixelRatio(ratio);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(6.5, 6), 8);
    g.setColorAt(0, colour.lighter(170));
    g.setColorAt(0.45, colour);
    g.setColorAt(1, colour.darker(135));
    painter.setBrush(g);
    painter.setPen(QPen(colour.darker(160), 1));
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    icon.addPixmap(p);
  }
  return icon;
}

// The logo: the emblem and the product's name beside it, in the dialog's own font. Any
// thread may draw it.
QImage Logo(const QFont& base, qreal ratio) {
  QImage logo(kLogoSize * ratio, QImage::Format_ARGB32_Premultiplied);
  logo.setDevicePixelRatio(ratio);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const int side = kLogoSize.height() - 8;
  QImage emblem = kirrup::SvgImage(QStringLiteral("icon"), QSize(side, side) * ratio);
  emblem.setDevicePixelRatio(ratio);
  painter.drawImage(QRect(4, 4, side, side), emblem);
  QFont name = base;
  name.setPixelSize(22);
  name.setBold(true);
  painter.setFont(name);
  painter.setPen(QColor(0x1f, 0x2a, 0x44));
  painter.drawText(QPoint(side + 12, 28), QStringLiteral("Kirrup"));
  QFont line = base;
  line.setPixelSize(9);
  line.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
  painter.setFont(line);
  painter.setPen(QColor(0x6b, 0x76, 0x89));
  painter.drawText(QPoint(side + 13, 41), QStringLiteral("LED MESSAGES"));
  return logo;
}

// Takes the wheel away from a control: turned over the LED type choice it would empty the
// rows, without a question when they are saved.
class IgnoreWheel : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Wheel; }
};

struct LedColour {
  int command;
  kirrup::platform::Color value;  // 0x00BBGGRR
  QColor shown;
};
constexpr int kColourCount = 4;
const LedColour kColours[kColourCount] = {
    {8014, 0x0000FF, QColor(229, 57, 53)},
    {8015, 0x00FF00, QColor(46, 170, 90)},
    {8016, 0xFF0000, QColor(52, 100, 220)},
    {8017, 0x00FFFF, QColor(245, 200, 20)},
};

}  // namespace

void CRotavuDlg::PreparePictures() {
  const qreal ratio = std::max<qreal>(1.0, qApp->devicePixelRatio());
  auto at = [ratio](QSize size) { return size * ratio; };
  std::vector<std::pair<QString, QSize>> pictures;
  for (const char* name : {"open", "save", "clear", "start", "stop", "color", "send", "exit"})
    pictures.emplace_back(QString::fromLatin1(name), at(QSize(18, 18)));
  pictures.emplace_back(QStringLiteral("txt"), at(kTxtSize - QSize(6, 4)));
  pictures.emplace_back(QStringLiteral("language"), at(QSize(16, 16)));
  pictures.emplace_back(QStringLiteral("connected"), at(kIndicatorSize));
  pictures.emplace_back(QStringLiteral("disconnected"), at(kIndicatorSize));
  // The logo's text brings two sizes of font of its own: drawn there too.
  std::vector<kirrup::PictureDrawing> drawings;
  drawings.push_back({QStringLiteral("logo"), at(kLogoSize), [font = QApplication::font(), ratio] {
                        return Logo(font, ratio);
                      }});
  kirrup::PrepareSvgPictures(std::move(pictures), std::move(drawings));
}

CRotavuDlg::CRotavuDlg(kirrup::Application* app, QWidget* parent) : QDialog(parent) {
  CRotavuApp* running = CRotavuApp::Instance();
  app_ = app ? app : running;
  if (!app_) {
    ownApp_ = std::make_unique<kirrup::Application>();
    app_ = ownApp_.get();
  }
  if (running && app_ == static_cast<kirrup::Application*>(running)) {
    messages = running->messageSink;
  } else {
    ownMessages_ = std::make_unique<CMessageBoxSink>();
    messages = ownMessages_.get();
  }
  // UseMiddleOption is 0 at every start.
  app_->useMiddleOption = 0;
  rows_ = std::make_unique<MessageRows>(app_->settings.ledType);
  rows_->SetGlyphSource(&app_->fonts);
  image_ = std::make_unique<kirrup::DeviceImage>();
  capacity_ = std::make_unique<kirrup::CapacityMeter>();
  kirrup::SetAccessibleChinese([this] { return ChineseTexts(); });

  setWindowTitle(QStringLiteral("Kirrup"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  // The light palette is the application's, not the dialog's: then every control shares
  // one palette, and the style's cached pictures of combo boxes and buttons (keyed by the
  // palette) serve all twelve rows. A dialog palette gives each child a palette of its own,
  // and every control is drawn from scratch at the first paint.
  QApplication::setPalette(DialogPalette(QApplication::palette()));
  setAutoFillBackground(true);
  // An LED data file dropped from a file manager opens as Open does.
  setAcceptDrops(true);
  // Wide enough for the effect texts of the language the dialog opens in (step 7); a
  // language with longer texts widens it when it is chosen.
  listWidth_ = ListWidthForEffectTexts(
      app_->languages.tables[static_cast<size_t>(kirrup::SelectLanguage(app_->languages, app_->systemLanguageId))]);
  setFixedSize(kWidth + listWidth_ - kListWidth, kHeight);

  // 1. The controls; the font source radio from bUserFont.
  CreateControls();
  (app_->fonts.builtInSwitch == 0 ? sysFont_ : userFont_)->setChecked(true);

  // 2. System menu, window icon, button images.
  systemMenu_ = new QMenu(this);
  systemMenu_->setObjectName("systemMenu");
  systemMenu_->addSeparator();
  QAction* about = systemMenu_->addAction(QString());  // its text follows the language
  about->setData(kAboutCommand);
  connect(about, &QAction::triggered, this, [this] { OnCommand(kAboutCommand); });
  AddCompanionMenus();
  // Set on the window it renders every size offered to the window manager: after the
  // first picture.
  AfterFirstPaint([this] { setWindowIcon(kirrup::SvgIcon("icon")); });

  // 3. The top band.
  LoadPictures();
  ArrangeTopBand();

  // 4. Rows 2..12 disabled (their TXT images came with the rows).
  for (int i = 0; i < MessageRows::kCount; ++i) (*rows_)[i].enabled = i == 0;
  SyncRowsEnabled();

  // 5. Scrolling.
  SetUpScrolling();

  // 6. Companion windows: the symbol picker over its place, the simulation at the top left
  // of its place.
  CreateSymbolPicker();
  demo_ = new CDemoWnd(this);
  demo_->setObjectName("demo");
  demo_->move(Control(kSimulationPlace)->geometry().topLeft());
  demo_->SetLedColor(app_->settings.ledColor);
  demo_->show();
  AfterFirstPaint([this] { CreateCharEditor(); });
  AfterFirstPaint([this] { ListFonts(); });

  // 7. Languages: the system's own, else the first.
  {
    const QSignalBlocker block(languageBox_);
    for (const kirrup::LanguageTable& t : app_->languages.tables) {
      languageBox_->addItem(kirrup::SvgIcon("language", QSize(16, 16)), Text(t.name));
    }
    app_->languages.current = kirrup::SelectLanguage(app_->languages, app_->systemLanguageId);
    languageBox_->setCurrentIndex(app_->languages.current);
  }

  // 8. Middle options, texts, the LED type with row reset, the rows.
  {
    const QSignalBlocker block(useMiddle_);
    useMiddle_->setChecked(rows_->useMiddleOption != 0);
  }
  ApplyTexts(true);
  ApplyLedType(app_->settings.ledType, true);
  LayOutRows();

  // 9. Progress bar, indicator, polling.
  progress_->setRange(1, 100);
  progress_->reset();
  connected_ = false;
  SetIndicator(true);
  connect(&pollTimer_, &QTimer::timeout, this, [this] { OnTimer(kPollTimer); });
  connect(&resetTimer_, &QTimer::timeout, this, [this] { OnTimer(kResetTimer); });
  refusalTimer_.setSingleShot(true);
  connect(&refusalTimer_, &QTimer::timeout, refusalCue_, &QWidget::hide);
  noticeTimer_.setSingleShot(true);
  connect(&noticeTimer_, &QTimer::timeout, this, [this] {
    sentNotice_->hide();
    progress_->show();
  });
  pollTimer_.start(kPollMs);

  // Row 1 takes the keyboard at once.
  rowControls_[0].line->setFocus(Qt::OtherFocusReason);
}

CRotavuDlg::~CRotavuDlg() {
  kirrup::SetAccessibleChinese(nullptr);
  // The line windows are views of the rows' lines: they go first.
  for (RowControls& r : rowControls_) {
    delete r.line;
    r.line = nullptr;
  }
}

// ---------------------------------------------------------------------------------------
// Controls

void CRotavuDlg::Register(int id, QWidget* widget, const char* name) {
  controls_.insert(id, widget);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setProperty("controlId", id);
}

QPushButton* CRotavuDlg::MakeButton(int id, const QString& icon, const QRect& geometry) {
  auto* b = new QPushButton(this);
  b->setAutoDefault(false);
  if (!icon.isEmpty()) {
    b->setIcon(kirrup::SvgIcon(icon, QSize(18, 18)));
    b->setIconSize(QSize(18, 18));
  }
  b->setGeometry(geometry);
  connect(b, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
  return b;
}

void CRotavuDlg::CreateControls() {
  // Top band: the frame first, so everything else lies over it.
  auto* band = new QFrame(this);
  Register(kBand, band, "band");
  band->setStyleSheet(QString::fromLatin1(kPanelStyle));
  auto* logo = new QLabel(this);
  Register(kLogo, logo, "logo");
  auto* indicatorFrame = new QFrame(this);
  Register(kIndicatorFrame, indicatorFrame, "indicatorFrame");
  indicator_ = new QLabel(this);
  Register(kIndicator, indicator_, "indicator");
  indicator_->setAlignment(Qt::AlignCenter);

  const int bandButtonsLeft = 2 + kLogoSize.width() + 18;
  const int bandButtonTop = (kLogoSize.height() + 4 - kBandButton.height()) / 2;
  struct BandButton {
    int id;
    const char* icon;
    const char* name;
  };
  const BandButton bandButtons[] = {{kOpen, "open", "open"}, {kSave, "save", "save"}, {kClear, "clear", "clear"}};
  int x = bandButtonsLeft;
  for (const BandButton& bb : bandButtons) {
    QPushButton* b = MakeButton(bb.id, bb.icon, QRect(QPoint(x, bandButtonTop), kBandButton));
    Register(bb.id, b, bb.name);
    x += kBandButton.width() + 8;
  }
  // Created here so that Tab reaches them after Clear and before the language.
  CreateBandChoices();

  auto* divider = new QFrame(this);
  divider->setFrameShape(QFrame::VLine);
  Register(kDivider, divider, "divider");
  auto* languageLabel = new QLabel(this);
  Register(kLanguageLabel, languageLabel, "languageLabel");
  languageBox_ = new QComboBox(this);
  Register(kLanguage, languageBox_, "language");
  languageBox_->setFixedHeight(28);
  connect(languageBox_, &QComboBox::currentIndexChanged, this, [this](int index) { SelectLanguage(index); });

  // Controls this layout gives no size: their handlers work all the same.
  ledTypeButton_ = MakeButton(kLedTypeButton, QString(), QRect(bandButtonsLeft, 0, 0, 0));
  Register(kLedTypeButton, ledTypeButton_, "ledType");
  userFont_ = new QRadioButton(this);
  Register(kUserFont, userFont_, "userFont");
  sysFont_ = new QRadioButton(this);
  Register(kSysFont, sysFont_, "sysFont");
  fontChooser_ = new CFontComboBox(this, false);  // listed after the first paint (ListFonts)
  QComboBox* fontChooser = fontChooser_;
  Register(kFontChooser, fontChooser, "fontChooser");
  fontChooser->setEnabled(app_->fonts.builtInSwitch == 0);
  useMiddle_ = new QCheckBox(this);
  Register(kUseMiddle, useMiddle_, "useMiddle");
  for (QWidget* w : std::initializer_list<QWidget*>{ledTypeButton_, userFont_, sysFont_, fontChooser, useMiddle_}) {
    w->setGeometry(bandButtonsLeft, 0, 0, 0);
    w->setFocusPolicy(Qt::NoFocus);  // nothing to see, nothing to tab into
  }
  useMiddle_->hide();
  connect(userFont_, &QRadioButton::clicked, this, [this] { OnCommand(kUserFont); });
  connect(sysFont_, &QRadioButton::clicked, this, [this] { OnCommand(kSysFont); });
  connect(useMiddle_, &QCheckBox::clicked, this, [this] { OnCommand(kUseMiddle); });
  connect(fontChooser_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) OnFontChosen();
  });

  // Column headers and the row list.
  const int headerTop = kLogoSize.height() + 4 + 10;
  const int listTop = headerTop + 20;
  QFont headerFont = font();
  headerFont.setBold(true);
  for (int k = 0; k < 4; ++k) {
    headers_[k] = new QLabel(this);
    Register(kDataHeader + k, headers_[k], "header");
    headers_[k]->setFont(headerFont);
    Tint(headers_[k], QColor(0x5d, 0x68, 0x78));
    headers_[k]->setGeometry(kMargin, headerTop, 0, 18);
    headers_[k]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  headers_[0]->setIndent(kLabelWidth + 6);
  listFrame_ = new QFrame(this);
  Register(kListFrame, listFrame_, "listFrame");
  listFrame_->setStyleSheet(QString::fromLatin1(kListStyle));
  listFrame_->setGeometry(kMargin, listTop, listWidth_, kInnerHeight + 10);
  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  Register(kScrollBar, scrollBar_, "scrollBar");
  scrollBar_->setFocusPolicy(Qt::NoFocus);
  connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) {
    ScrollCode code;
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub: code = ScrollCode::LineUp; break;
      case QAbstractSlider::SliderSingleStepAdd: code = ScrollCode::LineDown; break;
      case QAbstractSlider::SliderPageStepSub: code = ScrollCode::PageUp; break;
      case QAbstractSlider::SliderPageStepAdd: code = ScrollCode::PageDown; break;
      case QAbstractSlider::SliderMove: code = ScrollCode::ThumbTrack; break;
      case QAbstractSlider::SliderToMinimum: code = ScrollCode::Top; break;
      case QAbstractSlider::SliderToMaximum: code = ScrollCode::Bottom; break;
      default: code = ScrollCode::EndScroll; break;
    }
    OnVScroll(code, scrollBar_->sliderPosition());
    scrollBar_->setSliderPosition(state_.scroll.first);
  });

  for (int i = 0; i < MessageRows::kCount; ++i) CreateRow(i);

  // The symbol picker's place, under the rows.
  auto* symbolPlace = new QFrame(this);
  Register(kSymbolPlace, symbolPlace, "symbolPlace");
  symbolPlace->setGeometry(kMargin, listFrame_->geometry().bottom() + 1 + 10, listWidth_, kSymbolPlaceHeight);
  symbolPlace->hide();

  // The side column: simulation, its Start and Stop, colour, note, progress, Send and Exit.
  const int side = kMargin + listWidth_ + kMargin;
  const int half = (kSideWidth - 8) / 2;
  // The place is the simulation's outer size, centred over the column's buttons.
  auto* simulationPlace = new QFrame(this);
  Register(kSimulationPlace, simulationPlace, "simulationPlace");
  simulationPlace->setGeometry(side + (kSideWidth - kSimulationOuter) / 2, headerTop, kSimulationOuter,
                               kSimulationOuter);
  simulationPlace->hide();
  int y = headerTop + kSimulationOuter + 8;
  QPushButton* start = MakeButton(kStart, "start", QRect(side, y, half, kButtonHeight));
  Register(kStart, start, "start");
  QPushButton* stop = MakeButton(kStop, "stop", QRect(side + half + 8, y, half, kButtonHeight));
  Register(kStop, stop, "stop");
  stop->setEnabled(false);
  y += kButtonHeight + 8;

  QPushButton* colour = MakeButton(kColor, "color", QRect(side, y, kSideWidth, kButtonHeight));
  Register(kColor, colour, "color");
  colorMenu_ = new QMenu(this);
  colorMenu_->setObjectName("colorMenu");
  for (const LedColour& c : kColours) {
    QAction* a = colorMenu_->addAction(QString());
    a->setData(c.command);
    connect(a, &QAction::triggered, this, [this, id = c.command] { OnCommand(id); });
  }
  colour->setMenu(colorMenu_);
  AfterFirstPaint([this] { DrawColourIcons(); });
  connect(colorMenu_, &QMenu::aboutToShow, this, &CRotavuDlg::DrawColourIcons);
  y += kButtonHeight + 10;

  const int sendTop = kHeight - kMargin - 36;
  const int progressTop = sendTop - 10 - 12;
  const int meterTop = progressTop - 10 - kMeterHeight;
  auto* note = new QGroupBox(this);
  Register(kNoteBox, note, "note");
  note->setStyleSheet(QString::fromLatin1(kNoteStyle));
  note->setGeometry(side, y, kSideWidth, meterTop - 10 - y);
  noteText_ = new QLabel(this);
  Register(kNoteText, noteText_, "noteText");
  Tint(noteText_, QColor(0x3d, 0x48, 0x59));
  noteText_->setWordWrap(true);
  noteText_->setTextFormat(Qt::RichText);
  noteText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  noteText_->setGeometry(note->geometry().adjusted(12, 24, -10, -6));

  // The toy's memory, always in sight next to Send; its first value costs nothing (no row
  // holds a character yet).
  meter_ = new CCapacityMeter(this);
  meter_->setObjectName("capacityMeter");
  // Its focus frame lies around the column's width.
  meter_->setGeometry(QRect(side, meterTop, kSideWidth, kMeterHeight).adjusted(-3, -3, 3, 3));

  progress_ = new QProgressBar(this);
  Register(kProgress, progress_, "progress");
  progress_->setTextVisible(false);
  progress_->setGeometry(side, progressTop, kSideWidth, 12);
  // A successful Send says so in the progress area for a few seconds.
  sentNotice_ = new QLabel(this);
  sentNotice_->setObjectName("sentNotice");
  sentNotice_->setAlignment(Qt::AlignCenter);
  sentNotice_->setGeometry(side, progressTop - 5, kSideWidth, 22);
  sentNotice_->hide();

  sendButton_ = MakeButton(kSend, "send", QRect(side, sendTop, half, 36));
  Register(kSend, sendButton_, "send");
  sendButton_->setStyleSheet(QString::fromLatin1(kSendStyle));
  exitButton_ = MakeButton(kExitCommand, "exit", QRect(side + half + 8, sendTop, half, 36));
  Register(kExitCommand, exitButton_, "exitButton");
  exitButton_->setProperty("commandId", kExitCommand);

  // The cue of a row that refused a character: over the rows, never in the mouse's way.
  refusalCue_ = new QLabel(this);
  refusalCue_->setObjectName("refusalCue");
  refusalCue_->setAttribute(Qt::WA_TransparentForMouseEvents);
  refusalCue_->hide();

  // Over the band and the frames; in the order made, which is the order a reader lists.
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isWindow() && w != band && w != listFrame_ && w != note && w != indicatorFrame) w->raise();
  }
}

void CRotavuDlg::CreateBandChoices() {
  ledTypeLabel_ = new QLabel(this);
  ledTypeLabel_->setObjectName("ledTypeLabel");
  ledTypeChoice_ = new QComboBox(this);
  ledTypeChoice_->setObjectName("ledTypeChoice");
  for (int type = 0; type < 3; ++type) ledTypeChoice_->addItem(Text(kirrup::LedTypeChoiceText(type)));
  // activated: only the user's choices run the command.
  connect(ledTypeChoice_, &QComboBox::activated, this, &CRotavuDlg::OnLedTypeChosen);
  ledTypeChoice_->installEventFilter(new IgnoreWheel(ledTypeChoice_));
  ledTypeLabel_->setBuddy(ledTypeChoice_);

  fontLabel_ = new QLabel(this);
  fontLabel_->setObjectName("fontLabel");
  fontChoice_ = new QPushButton(this);
  fontChoice_->setObjectName("fontChoice");
  fontChoice_->setAutoDefault(false);
  fontLabel_->setBuddy(fontChoice_);
  for (QLabel* l : {ledTypeLabel_, fontLabel_}) Tint(l, QColor(0x5d, 0x68, 0x78));
}

void CRotavuDlg::PlaceBandChoices() {
  // Between Clear and the language choice; the labels as wide as the longer of them.
  const int left = Control(kClear)->geometry().right() + 1 + 12;
  const int right = Control(kDivider)->x() - 8;
  int labelWidth = 0;
  for (QLabel* l : {ledTypeLabel_, fontLabel_})
    labelWidth = std::max(labelWidth, l->fontMetrics().horizontalAdvance(QString(l->text()).remove(QLatin1Char('&'))));
  const kirrup::BandChoices c = kirrup::LayOutBandChoices(left, right, kLogoSize.height() + 4, labelWidth + 2,
                                                          kChoiceRowHeight, kChoiceMaxWidth);
  ledTypeLabel_->setGeometry(ToQRect(c.ledLabel));
  ledTypeChoice_->setGeometry(ToQRect(c.ledChoice));
  fontLabel_->setGeometry(ToQRect(c.fontLabel));
  fontChoice_->setGeometry(ToQRect(c.fontChoice));
}

QMenu* CRotavuDlg::colorMenu() {
  DrawColourIcons();
  return colorMenu_;
}

void CRotavuDlg::DrawColourIcons() {
  const QList<QAction*> actions = colorMenu_->actions();
  if (actions.isEmpty() || !actions[0]->icon().isNull()) return;
  for (int k = 0; k < kColourCount && k < actions.size(); ++k) actions[k]->setIcon(LedIcon(kColours[k].shown));
}

void CRotavuDlg::CreateRow(int i) {
  RowControls& r = rowControls_[i];
  r.label = new QLabel(QString::number(i + 1), this);
  Register(kRowLabel + i, r.label, "rowLabel");
  r.label->setAlignment(Qt::AlignCenter);
  Tint(r.label, QColor(0x7b, 0x86, 0x98));
  r.label->resize(kLabelWidth, kComboHeight);

  r.line = new kirrup::CInputChrWnd(this, kLineWindow + i);
  controls_.insert(kLineWindow + i, r.line);
  r.line->setProperty("controlId", kLineWindow + i);
  r.line->setLine((*rows_)[i].line);
  r.line->setLanguages(&app_->languages);
  connect(r.line, &kirrup::CInputChrWnd::lineChanged, this, [this](int id) { OnLineChanged(id); });
  connect(r.line, &kirrup::CInputChrWnd::lineFocused, this, [this](int id) { OnLineFocused(id); });
  connect(r.line, &kirrup::CInputChrWnd::characterRefused, this, [this](int id, int code) {
    const int row = id - kLineWindow;
    ShowRefusalCue(row, kirrup::WhyCodeRefused((*rows_)[row].line, static_cast<uint16_t>(code)));
  });

  r.txt = MakeButton(kTxtButton + i, QString(), QRect(QPoint(0, 0), kTxtSize));
  Register(kTxtButton + i, r.txt, "txt");
  r.txt->setIcon(kirrup::SvgIcon("txt", kTxtSize));
  r.txt->setIconSize(kTxtSize - QSize(6, 4));
  r.txt->setToolTip(QStringLiteral("TXT"));

  auto makeCombo = [this, i](int id, int MessageRowEffect) {
    const int header = id == kOpenCombo ? kOpenHeader : id == kMiddleCombo ? kMiddleHeader : kCloseHeader;
    auto* box = new CEffectComboBox(i, header, this);
    Register(id + i, box, id == kOpenCombo ? "openOption" : id == kMiddleCombo ? "middleOption" : "closeOption");
    box->setFixedHeight(kComboHeight);
    box->setMaxVisibleItems(10);
    connect(box, &QComboBox::currentIndexChanged, this, [this, i, MessageRowEffect](int index) {
      if (applying_ || index < 0) return;
      kirrup::MessageRow& row = (*rows_)[i];
      int& effect = MessageRowEffect == 0 ? row.openOption : MessageRowEffect == 1 ? row.middleOption
                                                                                  : row.closeOption;
      if (effect == index) return;
      effect = index;
      // A changed effect is changed data, as a changed line is.
      state_.modified = true;
      RefreshCapacity();
    });
    return box;
  };
  r.open = makeCombo(kOpenCombo, 0);
  r.middle = makeCombo(kMiddleCombo, 1);
  r.close = makeCombo(kCloseCombo, 2);
}

int CRotavuDlg::ListWidthForEffectTexts(const kirrup::LanguageTable& table) {
  // A closed combo box as wide as its longest item; three boxes a row (middle options
  // shown) beside the widest line window, that of 7 LEDs. Only the one language is
  // measured: the fonts of every other script would slow the start.
  // Its size hint follows its items under the default policy too; setting one would
  // build the box's pop-up list for nothing.
  QComboBox probe(this);
  auto add = [&probe](const auto& texts) {
    for (const std::u16string& text : texts) probe.addItem(Text(text));
  };
  add(table.openTexts);
  add(table.middleTexts);
  add(table.closeTexts);
  const int lineWidth = std::max({kirrup::LineWindowWidth(kirrup::LedTypeRow(kirrup::kLed7), 1),
                                  kirrup::LineWindowWidth(kirrup::LedTypeRow(kirrup::kLed11), 3),
                                  kirrup::LineWindowWidth(kirrup::LedTypeRow(kirrup::kLed16), 3)});
  const int width = kirrup::ListFrameWidthFor(probe.sizeHint().width(), kLabelWidth, lineWidth, kTxtSize.width());
  // A translator's very long text is cut rather than make the dialog wider than screens are.
  return std::clamp(width, kListWidth, 2 * kListWidth);
}

void CRotavuDlg::WidenListFor(const kirrup::LanguageTable& table) {
  const int wanted = ListWidthForEffectTexts(table);
  if (wanted <= listWidth_) return;  // never narrower: the dialog does not jump back
  const int dx = wanted - listWidth_;
  const int side = kMargin + listWidth_ + kMargin;
  listWidth_ = wanted;
  setFixedSize(width() + dx, height());
  // Everything right of the rows moves along; the top band is arranged anew.
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isWindow() && w->x() >= side) w->move(w->x() + dx, w->y());
  }
  for (QWidget* w : {static_cast<QWidget*>(listFrame_), Control(kSymbolPlace)}) w->resize(listWidth_, w->height());
  if (keyWnd_) PlaceSymbolPicker();
  ArrangeTopBand();
  listArea_ = kirrup::ListAreaOf({listFrame_->x(), listFrame_->y(), listFrame_->x() + listFrame_->width(),
                                  listFrame_->y() + listFrame_->height()},
                                 0);
  scrollBar_->setGeometry(ToQRect(listArea_.scrollBar));
  LayOutRows();
}

void CRotavuDlg::LoadPictures() {
  const qreal ratio = std::max<qreal>(1.0, devicePixelRatioF());
  connectedPicture_ = kirrup::SvgPixmap("connected", kIndicatorSize, ratio);
  disconnectedPicture_ = kirrup::SvgPixmap("disconnected", kIndicatorSize, ratio);
  std::optional<QImage> logo = kirrup::TakePreparedDrawing(QStringLiteral("logo"), kLogoSize * ratio);
  if (!logo || font() != QApplication::font()) logo = Logo(font(), ratio);
  static_cast<QLabel*>(Control(kLogo))->setPixmap(QPixmap::fromImage(std::move(*logo)));
  indicator_->setPixmap(showsConnected_ ? connectedPicture_ : disconnectedPicture_);
}

void CRotavuDlg::changeEvent(QEvent* event) {
  // Moved to a screen of another scale: the pictures are drawn again for it.
  if (event->type() == QEvent::ScreenChangeInternal) LoadPictures();
  QDialog::changeEvent(event);
}

void CRotavuDlg::ArrangeTopBand() {
  kirrup::TopBandInput in;
  in.clientWidth = width();
  in.logo = {kLogoSize.width(), kLogoSize.height()};
  in.indicator = {kIndicatorSize.width(), kIndicatorSize.height()};
  in.dividerLeft = width() - 2 - (kIndicatorSize.width() + 4) - 8 - kLanguageWidth - 8;
  in.labelHeight = 0;
  in.comboHeight = languageBox_->height();
  const kirrup::TopBandLayout l = kirrup::LayOutTopBand(in);
  Control(kBand)->setGeometry(ToQRect(l.band));
  Control(kLogo)->setGeometry(ToQRect(l.logo));
  indicator_->setGeometry(ToQRect(l.indicator));
  Control(kIndicatorFrame)->setGeometry(ToQRect(l.indicatorFrame));
  Control(kDivider)->setGeometry(ToQRect(l.divider));
  Control(kLanguageLabel)->setGeometry(ToQRect(l.label));
  languageBox_->setGeometry(ToQRect(l.combo));
  PlaceBandChoices();
}

void CRotavuDlg::SetUpScrolling() {
  listArea_ = kirrup::ListAreaOf(
      {listFrame_->x(), listFrame_->y(), listFrame_->x() + listFrame_->width(), listFrame_->y() + listFrame_->height()},
      0);
  scrollBar_->setGeometry(ToQRect(listArea_.scrollBar));
  state_.scroll.first = 0;
  state_.scroll.page = kirrup::RowsPerPage(listArea_.inner.Height(), kComboHeight);
  const QSignalBlocker block(scrollBar_);
  scrollBar_->setRange(0, std::max(0, MessageRows::kCount - state_.scroll.page));
  scrollBar_->setPageStep(std::max(state_.scroll.page, 1));
  scrollBar_->setValue(0);
}

// ---------------------------------------------------------------------------------------
// Texts, LED type, rows

void CRotavuDlg::RefillCombo(QComboBox* box, const QStringList& items) {
  box->setUpdatesEnabled(false);
  const bool wasApplying = applying_;
  applying_ = true;
  const int kept = kirrup::KeptSelection(box->count(), box->currentIndex());
  box->clear();
  box->addItems(items);
  box->setCurrentIndex(kept < box->count() ? kept : 0);
  applying_ = wasApplying;
  box->setUpdatesEnabled(true);
}

void CRotavuDlg::ApplyTexts(bool full) {
  const kirrup::LanguageTable& table = app_->languages.Current();
  if (full) {
    for (int id : kirrup::kCaptionControlIds) {
      const std::u16string* text = kirrup::CaptionText(table, id);
      QWidget* w = Control(id);
      if (!text || !w) continue;
      const QString t = Text(*text);
      if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(t);
      else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(t);
      else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(t);
    }
    if (const std::u16string* language = kirrup::CaptionText(table, kLanguageLabel)) {
      languageBox_->setToolTip(Text(*language));
    }
    for (int i = 0; i < MessageRows::kCount; ++i)
      rowControls_[i].txt->setAccessibleName(Text(kirrup::TxtButtonName(i, ChineseTexts())));
    RefreshNoteAndLedCaption();
    for (QAction* a : systemMenu_->actions()) {
      if (a->data().toInt() == kAboutCommand)
        a->setText(QString::fromUtf8(kirrup::AboutTextsFor(ChineseTexts()).menuItem));
    }
    RefreshBandChoiceTexts();
  }

  auto list = [](const auto& texts) {
    QStringList out;
    for (const std::u16string& t : texts) out << Text(t);
    return out;
  };
  const QStringList openItems = list(table.openTexts);
  const QStringList middleItems = list(table.middleTexts);
  const QStringList closeItems = list(table.closeTexts);
  for (RowControls& r : rowControls_) {
    RefillCombo(r.open, openItems);
    if (!full) continue;
    RefillCombo(r.middle, middleItems);
    if (rows_->useMiddleOption == 0) r.middle->hide();
    RefillCombo(r.close, closeItems);
  }

  if (full) {
    for (QAction* a : colorMenu_->actions()) {
      if (const std::u16string* text = kirrup::MenuText(table, a->data().toInt())) a->setText(Text(*text));
    }
  }
}

void CRotavuDlg::RefreshNoteAndLedCaption() {
  const kirrup::LanguageTable& table = app_->languages.Current();
  // Paragraphs with little space between them: the meter took some of the note's height.
  noteText_->setText(Text(kirrup::NoteParagraphs(kirrup::NoteText(table, rows_->ledType()))));
  const QString caption = ledTypeButton_->text().section(QLatin1Char('\n'), 0, 0);
  ledTypeButton_->setText(caption + QStringLiteral("\n(%1Led)").arg(kirrup::LedTypeRow(rows_->ledType()).height));
}

void CRotavuDlg::ApplyLedType(int type, bool rowReset) {
  FollowLedType(type);
  if (charEditor_) charEditor_->hide();
  applying_ = true;
  rows_->ApplyLedType(type, rowReset);
  applying_ = false;
  app_->settings.ledType = rows_->ledType();
  RefreshNoteAndLedCaption();
  for (int i = 0; i < MessageRows::kCount; ++i) {
    kirrup::CInputChrWnd* w = rowControls_[i].line;
    w->resize(w->width(), (*rows_)[i].line.PreferredHeight());
  }
  SyncRowsEnabled();
  FillSymbolPicker();
  SyncBandChoices();
  RefreshCapacity();
  RefreshRowRooms();  // the rows were emptied for the type's width
}

void CRotavuDlg::SyncRowsEnabled() {
  for (int i = 0; i < MessageRows::kCount; ++i) {
    const bool on = (*rows_)[i].enabled;
    const RowControls& r = rowControls_[i];
    for (QWidget* w : std::initializer_list<QWidget*>{r.label, r.line, r.txt, r.open, r.middle, r.close})
      w->setEnabled(on);
  }
}

void CRotavuDlg::SyncEffectsToCombos() {
  applying_ = true;
  for (int i = 0; i < MessageRows::kCount; ++i) {
    const kirrup::MessageRow& row = (*rows_)[i];
    rowControls_[i].open->setCurrentIndex(row.openOption);
    rowControls_[i].middle->setCurrentIndex(row.middleOption);
    rowControls_[i].close->setCurrentIndex(row.closeOption);
  }
  applying_ = false;
}

void CRotavuDlg::LayOutRows() {
  if (state_.scroll.page <= 0) return;
  const kirrup::MessageLine& line = (*rows_)[0].line;
  kirrup::RowLayoutInput in;
  in.inner = listArea_.inner;
  in.scrollBarLeft = listArea_.scrollBar.left;
  in.comboHeight = kComboHeight;
  in.labelWidth = kLabelWidth;
  in.labelHeight = kComboHeight;
  in.txtWidth = kTxtSize.width();
  in.txtHeight = kTxtSize.height();
  in.lineWidth = kirrup::LineWindowWidth(kirrup::LedTypeRow(line.type()), line.barWidth);
  in.lineHeight = line.PreferredHeight();
  in.useMiddle = rows_->useMiddleOption != 0;
  in.scroll = state_.scroll;
  const std::optional<kirrup::RowsLayout> layout = kirrup::LayOutRows(in);
  if (!layout) return;

  for (int i = 0; i < MessageRows::kCount; ++i) {
    const kirrup::RowPlacement& p = layout->rows[i];
    const RowControls& r = rowControls_[i];
    if (!p.visible) {
      for (QWidget* w : std::initializer_list<QWidget*>{r.label, r.line, r.txt, r.open, r.middle, r.close}) w->hide();
      continue;
    }
    r.label->setGeometry(ToQRect(p.label));
    r.line->setGeometry(ToQRect(p.line));
    r.txt->setGeometry(ToQRect(p.txt));
    r.open->setGeometry(ToQRect(p.open));
    r.close->setGeometry(ToQRect(p.close));
    for (QWidget* w : std::initializer_list<QWidget*>{r.label, r.line, r.txt, r.open, r.close}) w->show();
    if (in.useMiddle) {
      r.middle->setGeometry(ToQRect(p.middle));
      r.middle->show();
    } else {
      r.middle->hide();
    }
  }

  const kirrup::HeaderSpans& s = layout->headers;
  auto place = [](QLabel* header, int left, int right) {
    if (header->x() != left || header->width() != right - left)
      header->setGeometry(left, header->y(), right - left, header->height());
  };
  place(headers_[0], s.dataLeft, s.dataRight);
  place(headers_[1], s.openLeft, s.openRight);
  if (in.useMiddle) place(headers_[2], s.middleLeft, s.middleRight);
  headers_[2]->setVisible(in.useMiddle);
  place(headers_[3], s.closeLeft, s.closeRight);
}

void CRotavuDlg::OnVScroll(ScrollCode code, int thumb) {
  if (!state_.scroll.Scroll(code, thumb)) return;
  {
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setValue(state_.scroll.first);
  }
  LayOutRows();
}

void CRotavuDlg::SetGlyphSource(kirrup::GlyphSource* glyphs) { rows_->SetGlyphSource(glyphs); }

// ---------------------------------------------------------------------------------------
// Commands

void CRotavuDlg::OnCommand(int id) {
  switch (id) {
    case kExitCommand:
      Exit();
      return;
    case kAboutCommand: {
      CAboutDlg about(ChineseTexts(), this);
      about.exec();
      return;
    }
    case kOpen:
      DoOpen();
      return;
    case kSave:
      DoSave();
      return;
    case kClear:
      DoClear();
      return;
    case kLedTypeButton:
      ShowLedTypeMenu();
      return;
    case kUseMiddle:
      SetUseMiddle(useMiddle_->isChecked());
      return;
    case kSend:
      DoSend();
      return;
    case kUserFont:
    case kSysFont:
      OnFontSource();
      emit companionCommand(id);
      return;
    case kStart:
      if (demo_->Start(kirrup::DemoRowsFrom(*rows_), rows_->useMiddleOption != 0, *messages))
        Control(kStop)->setEnabled(true);
      return;
    case kStop:
      demo_->Stop();
      Control(kStop)->setEnabled(false);
      return;
    default:
      break;
  }
  if (id >= kLed7Command && id <= kLed7Command + 2) {
    if (!SavePrompt()) return;
    ApplyLedType(id - kLed7Command, true);
    LayOutRows();
  } else if (id >= kRedCommand && id < kRedCommand + kColourCount) {
    SetLedColor(id);
  } else if (id >= kTxtButton && id < kTxtButton + MessageRows::kCount) {
    OpenCharEditor(id - kTxtButton);
    emit companionCommand(id);
  }
}

void CRotavuDlg::ShowLedTypeMenu() {
  QMenu menu(this);
  menu.setObjectName("ledTypeMenu");
  const char* const names[3] = {"&7LED", "1&1LED", "1&6LED"};
  for (int k = 0; k < 3; ++k) {
    QAction* a = menu.addAction(QString::fromLatin1(names[k]));
    a->setData(kLed7Command + k);
    a->setCheckable(true);
    a->setChecked(k == rows_->ledType());
  }
  const QAction* chosen = menu.exec(ledTypeButton_->mapToGlobal(ledTypeButton_->rect().center()));
  if (chosen) OnCommand(chosen->data().toInt());
}

void CRotavuDlg::SetLedColor(int command) {
  for (const LedColour& c : kColours) {
    if (c.command == command) app_->settings.ledColor = c.value;
  }
  demo_->SetLedColor(app_->settings.ledColor);
}

void CRotavuDlg::SelectLanguage(int index) {
  if (index < 0 || index >= app_->languages.count()) return;
  app_->languages.current = index;
  WidenListFor(app_->languages.Current());
  ApplyTexts(true);
}

void CRotavuDlg::SetUseMiddle(bool on) {
  rows_->useMiddleOption = on ? 1 : 0;
  app_->useMiddleOption = rows_->useMiddleOption;
  ApplyTexts(false);
  LayOutRows();
  RefreshCapacity();  // a third byte a line
}

void CRotavuDlg::OnLineChanged(int id) {
  const int row = id - kLineWindow;
  if (row < 0 || row >= MessageRows::kCount) return;
  EnableRow(state_.LineChanged(*rows_, row));
  charEditor()->LoadLine(row, (*rows_)[row].line);
  RefreshCapacity();
  RefreshRowRoom(row);
  emit rowChanged(row);
}

void CRotavuDlg::EnableRow(int row) {
  if (row < 0) return;
  const RowControls& r = rowControls_[row];
  for (QWidget* w : std::initializer_list<QWidget*>{r.label, r.line, r.txt, r.open, r.middle, r.close})
    w->setEnabled(true);
}

void CRotavuDlg::OnLineFocused(int id) { state_.LineFocused(id); }

bool CRotavuDlg::SavePrompt() {
  if (!kirrup::SavePromptNeeded(state_.modified, *rows_)) return true;
  kirrup::SaveAnswer answer;
  if (askSave) {
    answer = askSave();
  } else {
    const auto button = QMessageBox::question(this, QStringLiteral("Kirrup"),
                                              QStringLiteral("Do you want to save the data(Y/N)?"),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    answer = button == QMessageBox::Yes  ? kirrup::SaveAnswer::Yes
             : button == QMessageBox::No ? kirrup::SaveAnswer::No
                                         : kirrup::SaveAnswer::Cancel;
  }
  if (answer == kirrup::SaveAnswer::Cancel) return false;
  // The user asked to keep the lines: when they were not saved after all (the file
  // dialog cancelled, the file not written), the command would lose them.
  if (answer == kirrup::SaveAnswer::Yes) return DoSave();
  return true;
}

QString CRotavuDlg::ChooseFile(FileDialogKind kind, const QString& offered) {
  if (chooseFile) return chooseFile(kind, offered);
  const bool open = kind == FileDialogKind::Open;
  QFileDialog dialog(this, open ? QStringLiteral("Open Led Data File") : QStringLiteral("Save Led Data File"));
  dialog.setObjectName(open ? "openFileDialog" : "saveFileDialog");
  dialog.setNameFilter(QStringLiteral("Led Data File(*.LDAT)"));
  dialog.setDefaultSuffix(QStringLiteral("LDAT"));
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (offered != QLatin1String(kirrup::kLdatPattern)) dialog.selectFile(offered);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

void CRotavuDlg::DoOpen() {
  if (!SavePrompt()) return;
  const QString path = ChooseFile(FileDialogKind::Open, QString::fromStdString(state_.OfferedPath()));
  if (path.isEmpty()) return;
  OpenFile(path);
}

void CRotavuDlg::OpenWithPrompt(const QString& path) {
  if (SavePrompt()) OpenFile(path);
}

void CRotavuDlg::dragEnterEvent(QDragEnterEvent* event) { AcceptLdatDrop(event); }
void CRotavuDlg::dragMoveEvent(QDragMoveEvent* event) { AcceptLdatDrop(event); }

void CRotavuDlg::dropEvent(QDropEvent* event) {
  const QString path = AcceptLdatDrop(event);
  // Once the drag is over: the file manager waits for the drop's answer, and the save
  // prompt is a modal box.
  if (!path.isEmpty()) QMetaObject::invokeMethod(this, [this, path] { OpenWithPrompt(path); }, Qt::QueuedConnection);
}

QString CRotavuDlg::AcceptLdatDrop(QDropEvent* event) {
  return kirrup::AcceptFileDrop(
      event, [](const QString& path) { return kirrup::LooksLikeLdat(QFile::encodeName(path).toStdString()); });
}

void CRotavuDlg::OpenFile(const QString& path) {
  kirrup::LdatData data;
  if (!kirrup::OpenLdat(QFile::encodeName(path).toStdString(), data, *messages)) return;
  ldat_ = std::move(data);

  applying_ = true;
  const bool middleChanged = kirrup::ApplyLdat(ldat_, *rows_);
  applying_ = false;
  app_->useMiddleOption = rows_->useMiddleOption;
  if (middleChanged) {
    ApplyTexts(false);
    const QSignalBlocker block(useMiddle_);
    useMiddle_->setChecked(rows_->useMiddleOption != 0);
  }
  // The LED type came without row reset: the rest of applying it.
  app_->settings.ledType = rows_->ledType();
  FollowLedType(rows_->ledType());
  FillSymbolPicker();
  RefreshNoteAndLedCaption();
  for (int i = 0; i < MessageRows::kCount; ++i) {
    kirrup::CInputChrWnd* w = rowControls_[i].line;
    w->resize(w->width(), (*rows_)[i].line.PreferredHeight());
  }
  SyncEffectsToCombos();
  SyncRowsEnabled();
  LayOutRows();
  state_.lastFilePath = QFile::encodeName(path).toStdString();
  state_.modified = false;
  ReloadCharEditor();
  SyncBandChoices();
  RefreshCapacity();
  RefreshRowRooms();
}

bool CRotavuDlg::DoSave() {
  const QString path = ChooseFile(FileDialogKind::Save, QString::fromStdString(state_.OfferedPath()));
  if (path.isEmpty()) return false;
  const std::string file = QFile::encodeName(path).toStdString();
  if (!kirrup::SaveLdat(file, *rows_, *messages)) return false;
  state_.lastFilePath = file;
  state_.modified = false;
  return true;
}

void CRotavuDlg::DoClear() {
  if (!SavePrompt()) return;
  rows_->Clear();  // emptying a line is a line change
  SyncEffectsToCombos();
  SyncRowsEnabled();
  state_.currentRow = 0;
  RefreshCapacity();
}

void CRotavuDlg::DoSend() {
  // An installed program started from the menu works in the home folder: its image file
  // goes to the user's cache folder instead.
  const std::string folder = kirrup::PrepareDeviceImageFolder(app_->settingsLocation);
  const std::string file = folder.empty() ? std::string(kirrup::kDeviceImageFileName)
                                          : folder + "/" + kirrup::kDeviceImageFileName;
  if (kirrup::BuildImageForSend(*rows_, *image_, *messages, file) == 0) return;
  kirrup::TransferProgress progress;
  // The dialog's thread is busy until the transfer ends: the bar paints itself at once.
  progress.SetRange = [this](int low, int high) {
    // An image below 5 bytes gives the range 0..0, which a QProgressBar would show as a
    // busy indicator that never stops; one step more shows the same empty bar.
    progress_->setRange(low, std::max(high, low + 1));
    progress_->repaint();
  };
  progress.SetPosition = [this](int position) {
    progress_->setValue(position);
    progress_->repaint();
  };
  const kirrup::TransferResult result =
      kirrup::TransferImage(app_->usb, image_->bytes(), rows_->ledType(), *messages, progress);
  resetTimer_.start(kResetMs);
  if (result == kirrup::TransferResult::Sent) ShowSentNotice(image_->length);
}

void CRotavuDlg::Exit() {
  if (!SavePrompt()) return;
  StoreCharEditorSize();
  done(kExitCommand);
}

void CRotavuDlg::OnTimer(int timer) {
  if (timer == kResetTimer) {
    progress_->setValue(0);
    resetTimer_.stop();
  }
  const std::optional<bool> present = kirrup::PollConnection(app_->usb);
  // Asked at once: the library remembers only this thread's last open. A tool tip, not a
  // message box, so that a toy this user may not open does not nag every second.
  const QString tip = QString::fromStdString(kirrup::ConnectionToolTip(
      present, present == false ? kirrup::LastOpenFailure(app_->usb) : kirrup::OpenFailure{}));
  if (!present) {
    // Without the link library nothing can ever connect: say so, and leave Send enabled
    // so that pressing it explains why.
    SetIndicator(false);
    SetIndicatorTip(tip);
    return;
  }
  connected_ = *present;
  SetIndicator(connected_);
  SetIndicatorTip(tip);
  sendButton_->setEnabled(connected_);
}

void CRotavuDlg::SetIndicator(bool connectedPicture) {
  if (connectedPicture == showsConnected_ && !indicator_->pixmap().isNull()) return;
  showsConnected_ = connectedPicture;
  indicator_->setPixmap(connectedPicture ? connectedPicture_ : disconnectedPicture_);
  SetIndicatorTip(connectedPicture ? QStringLiteral("Connected") : QStringLiteral("Not connected"));
}

void CRotavuDlg::SetIndicatorTip(const QString& tip) {
  indicator_->setToolTip(tip);
  // A reader hears what the tip says; unchanged, it is not told again every poll.
  const QString name = Text(kirrup::IndicatorName(tip.toStdString(), ChineseTexts()));
  if (indicator_->accessibleName() != name) indicator_->setAccessibleName(name);
}

// ---------------------------------------------------------------------------------------
// Character editor

kirrup::CMakeChrWnd* CRotavuDlg::charEditor() {
  CreateCharEditor();
  return charEditor_;
}

void CRotavuDlg::CreateCharEditor() {
  if (charEditor_) return;
  charEditor_ = new kirrup::CMakeChrWnd(this, QSize(app_->settings.makeChrWndCx, app_->settings.makeChrWndCy),
                                        messages);
  charEditor_->SetChineseUi([this] { return kirrup::IsChineseTable(app_->languages.Current()); });
  charEditor_->boardInput()->language = [this] { return &app_->languages.Current(); };
  // A drawing is a line change, whenever it is made: it must reach the save prompt. The
  // board already shows the line, so it is not loaded again.
  charEditor_->editor().lineEdited = [this](int row) {
    EnableRow(state_.LineChanged(*rows_, row));
    emit rowChanged(row);
  };
  charEditor_->move(0, 0);
}

void CRotavuDlg::OpenCharEditor(int row) {
  CreateCharEditor();
  if (!charEditor_->isVisible()) {
    const QPushButton* txt = rowControls_[row].txt;
    const int left = txt->mapToGlobal(QPoint(txt->width(), 0)).x() + 8;
    charEditor_->move(left, mapToGlobal(QPoint(0, 0)).y());
  }
  charEditor_->editor().SetMessages(messages);
  // Putting the line on the board changes nothing: the next row is enabled, the data are
  // not marked as modified.
  EnableRow(state_.EditorOpened(*rows_, row));
  charEditor_->LoadLine(row, (*rows_)[row].line);
  charEditor_->show();
  charEditor_->raise();
  charEditor_->activateWindow();
  charEditor_->FocusBoard();
}

void CRotavuDlg::ReloadCharEditor() {
  const int row = charEditor_ ? charEditor_->editor().boundRow() : -1;
  if (row >= 0 && charEditor_->isVisible()) charEditor_->LoadLine(row, (*rows_)[row].line);
}

void CRotavuDlg::StoreCharEditorSize() {
  const QSize outer = charEditor()->OuterSize();
  app_->settings.makeChrWndCx = outer.width();
  app_->settings.makeChrWndCy = outer.height();
}

// ---------------------------------------------------------------------------------------
// After the first paint

void CRotavuDlg::AfterFirstPaint(std::function<void()> task) { deferred_.push_back(std::move(task)); }

void CRotavuDlg::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  if (painted_) return;
  painted_ = true;
  // The children paint after the dialog in this same pass and the picture is sent when it
  // ends; the deferred work starts on a later turn of the event loop.
  QTimer::singleShot(0, this, &CRotavuDlg::RunDeferred);
}

void CRotavuDlg::RunDeferred() {
  if (deferred_.empty()) return;
  // One task a turn: input that arrives meanwhile is not kept waiting for all of them.
  std::function<void()> task = std::move(deferred_.front());
  deferred_.erase(deferred_.begin());
  task();
  if (!deferred_.empty()) QTimer::singleShot(0, this, &CRotavuDlg::RunDeferred);
}

// ---------------------------------------------------------------------------------------
// Keyboard, system menu

void CRotavuDlg::reject() { OnCommand(kExitCommand); }

void CRotavuDlg::ShowSystemMenu(const QPoint& globalPos) { systemMenu_->exec(globalPos); }

void CRotavuDlg::contextMenuEvent(QContextMenuEvent* event) {
  QWidget* child = childAt(event->pos());
  if (child == nullptr || child == Control(kBand) || child == listFrame_) {
    ShowSystemMenu(event->globalPos());
    event->accept();
    return;
  }
  QDialog::contextMenuEvent(event);
}

void CRotavuDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::AltModifier) {
    ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
    return;
  }
  // A key a line window left alone stays there: Enter and Escape never end the dialog
  // from a line.
  if (qobject_cast<kirrup::CInputChrWnd*>(QApplication::focusWidget()) && event->key() != Qt::Key_Tab &&
      event->key() != Qt::Key_Backtab) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
