// SPDX-License-Identifier: GPL-2.0-or-later
// The character editor's board as a screen reader sees it: a canvas named by the line on
// it and its size in cells, described by the keyboard's cell and whether its dot is lit.
#include <QAccessibleWidget>

#include "app/accessible_texts.h"
#include "editor/edit_chr_view.h"
#include "editor/make_chr_wnd.h"
#include "widgets/accessibility.h"

namespace kirrup {

namespace {

class CBoardAccessible final : public QAccessibleWidget {
 public:
  explicit CBoardAccessible(CEditChrView* view) : QAccessibleWidget(view, QAccessible::Canvas) {}

  QString text(QAccessible::Text t) const override {
    auto* view = static_cast<CEditChrView*>(widget());
    auto* frame = qobject_cast<CMakeChrWnd*>(view->window());
    if (!frame) return QAccessibleWidget::text(t);
    const CharEditor& editor = frame->editor();
    const BoardGeometry& geo = const_cast<CharEditor&>(editor).geometry();
    const bool chinese = AccessibleChinese();
    if (t == QAccessible::Name)
      return ToQString(BoardName(editor.boundLine() ? editor.boundRow() : -1, geo.width(), geo.height(), chinese));
    if (t == QAccessible::Description) {
      if (!geo.Present()) return {};
      const Point c = view->board().keyCell();
      return ToQString(BoardCellText(c.x, c.y, editor.image().Lit(c.x, c.y), chinese));
    }
    return QAccessibleWidget::text(t);
  }
};

}  // namespace

QAccessibleInterface* CEditChrView::AccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("kirrup::CEditChrView")) return new CBoardAccessible(static_cast<CEditChrView*>(object));
  return nullptr;
}

}  // namespace kirrup
