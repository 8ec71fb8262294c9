// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CDemoWnd: the display simulation as a bordered child of the main dialog. It owns the
// 100 ms timer and shows what the engine paints; the dialog wires Start (1010), Stop
// (1011) and the colour menu to it.
#include <QFrame>
#include <QImage>
#include <QTimer>
#include <span>

#include "dialog/demo_engine.h"
#include "platform/message_box.h"

class QAccessibleInterface;

class CDemoWnd : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kChildId = 107;

  explicit CDemoWnd(QWidget* parent = nullptr);

  // Starts drawing the toy's picture on another thread, early in start-up; the first
  // window made afterwards takes it from there instead of drawing it itself.
  static void PreparePicture();

  // Start command: "No data!" through messages when no enabled row holds a character
  // (returns false, the Stop button stays as it was); else takes the play list of the
  // rows and plays it from its first scene. True: the dialog enables Stop.
  bool Start(std::span<const kirrup::DemoRowInput> rows, bool useMiddleOption,
             kirrup::platform::MessageSink& messages);
  // Stop command: the timer stops and the window shows the toy alone, also when it is
  // uncovered later. The dialog disables Stop.
  void Stop();

  // LedColor (0x00BBGGRR); used from the next paint, i.e. the next tick while playing.
  void SetLedColor(kirrup::platform::Color color) { color_ = color & 0xFFFFFF; }
  kirrup::platform::Color ledColor() const { return color_; }

  const kirrup::DemoEngine& engine() const { return engine_; }
  bool ticking() const { return tick_.isActive(); }
  bool pausing() const { return pause_.isActive(); }

  // The client area as the next paint draws it.
  QImage ClientImage() const;

  // A reader hears the picture named with whether it plays (dialog_accessible.cpp).
  static QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private slots:
  void OnTick();
  void OnPauseEnd();

 private:
  kirrup::DemoEngine engine_;
  // Painted over whole every frame; kept to save their allocations.
  mutable kirrup::platform::RgbImage offscreen_, surface_;
  mutable QImage image_;
  kirrup::platform::Color color_ = 0x0000FF;
  QTimer tick_;
  QTimer pause_;
};
