// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/demo_wnd.h"

#include <QPainter>
#include <future>

#include "res/demo_picture.h"
#include "widgets/accessibility.h"
#include "widgets/raster_image.h"

using kirrup::DemoEngine;
using kirrup::platform::RgbImage;

namespace {

std::future<RgbImage>& PreparedPicture() {
  static std::future<RgbImage> picture;
  return picture;
}

RgbImage TakePicture() {
  std::future<RgbImage>& prepared = PreparedPicture();
  return prepared.valid() ? prepared.get() : kirrup::DrawDemoPicture();
}

}  // namespace

void CDemoWnd::PreparePicture() {
  std::future<RgbImage>& prepared = PreparedPicture();
  if (!prepared.valid()) prepared = std::async(std::launch::async, kirrup::DrawDemoPicture);
}

CDemoWnd::CDemoWnd(QWidget* parent) : QFrame(parent), engine_(TakePicture()) {
  setObjectName("CDemoWnd");
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  const int border = frameWidth();
  setFixedSize(kirrup::kDemoPictureSize + 2 * border, kirrup::kDemoPictureSize + 2 * border);
  tick_.setInterval(kirrup::kDemoTickMs);
  pause_.setInterval(kirrup::kDemoPauseMs);
  pause_.setSingleShot(true);
  connect(&tick_, &QTimer::timeout, this, &CDemoWnd::OnTick);
  connect(&pause_, &QTimer::timeout, this, &CDemoWnd::OnPauseEnd);
  kirrup::InstallAccessibleFactory(&CDemoWnd::AccessibleFactory);
}

bool CDemoWnd::Start(std::span<const kirrup::DemoRowInput> rows, bool useMiddleOption,
                     kirrup::platform::MessageSink& messages) {
  if (!kirrup::StartDemo(engine_, rows, useMiddleOption, messages)) return false;
  if (engine_.playing()) {
    pause_.stop();
    tick_.start();  // restarts the period when already running
  }
  kirrup::NotifyAccessible(this, QAccessible::NameChanged);
  return true;
}

void CDemoWnd::Stop() {
  engine_.Stop();
  tick_.stop();
  pause_.stop();
  kirrup::NotifyAccessible(this, QAccessible::NameChanged);
  // The window system shows a covered and uncovered window from the kept image of its
  // last paint, without asking for a new one: the toy alone must be painted now.
  update();
}

void CDemoWnd::OnTick() {
  switch (engine_.Tick()) {
    case DemoEngine::TickResult::kFrame:
      update();
      break;
    case DemoEngine::TickResult::kPause:
      // The ended scene stays on screen; the dialog keeps working meanwhile.
      tick_.stop();
      pause_.start();
      break;
    case DemoEngine::TickResult::kIdle:
      break;
  }
}

void CDemoWnd::OnPauseEnd() {
  engine_.EndPause();
  update();
  if (engine_.playing()) tick_.start();
}

QImage CDemoWnd::ClientImage() const {
  engine_.Paint(offscreen_, color_);
  const QColor back = palette().color(backgroundRole());
  const QRect client = contentsRect();
  surface_.Reset(client.width(), client.height(),
                 kirrup::platform::Rgb(static_cast<uint8_t>(back.red()), static_cast<uint8_t>(back.green()),
                                       static_cast<uint8_t>(back.blue())));
  kirrup::StretchTransparent(offscreen_, surface_, kirrup::platform::kPaper);
  kirrup::ToScreenImage(surface_, image_);
  return image_;
}

void CDemoWnd::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.drawImage(contentsRect().topLeft(), ClientImage());
}
