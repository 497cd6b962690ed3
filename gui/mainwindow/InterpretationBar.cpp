#include "InterpretationBar.h"

#include <QAction>
#include <QActionGroup>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace ostrel {

namespace {
constexpr int kButtonHeight = 21;
}

TInterpretationBar::TInterpretationBar(QVBoxLayout& pageLayout, QObject& owner,
                                       const std::function<void(QAction*)>& pressed) {
  // The buttons scroll sideways when they do not fit, so that every one of
  // thousands can be reached.
  FScrollArea = new QScrollArea(pageLayout.parentWidget());
  FScrollArea->setObjectName(QStringLiteral("InterpretationBar"));
  FScrollArea->setFrameShape(QFrame::NoFrame);
  FScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FScrollArea->setWidgetResizable(false);
  auto toolBar = std::make_unique<QToolBar>();
  ToolBar2 = toolBar.get();
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar2->setMovable(false);
  ToolBar2->setFloatable(false);
  ToolBar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
  FScrollArea->setWidget(toolBar.release());
  FFitConnection = QObject::connect(FScrollArea->horizontalScrollBar(), &QScrollBar::rangeChanged,
                                    FScrollArea, [this] { Fit(); });
  ToolBar2->hide();
  FScrollArea->hide();
  pageLayout.addWidget(FScrollArea);

  FGroup = new QActionGroup(&owner);
  FGroup->setExclusive(true);
  QObject::connect(FGroup, &QActionGroup::triggered, &owner, pressed);
}

TInterpretationBar::~TInterpretationBar() { QObject::disconnect(FFitConnection); }

void TInterpretationBar::Show(int count) {
  // The buttons of the last refresh are kept as far as they go: they differ
  // from new ones in nothing, and thousands cost a while to make and delete.
  const QList<QAction*> existing = FGroup->actions();
  for (qsizetype i = existing.size() - 1; i >= count; --i) delete existing[i];
  for (int i = static_cast<int>(std::min<qsizetype>(existing.size(), count)); i < count; ++i) {
    auto* button = new QAction(QString::number(i + 1), ToolBar2);
    button->setObjectName(QStringLiteral("InterpretationButton%1").arg(i + 1));
    button->setCheckable(true);
    button->setData(i);  // the button's Tag
    FGroup->addAction(button);
    ToolBar2->addAction(button);
    if (QWidget* widget = ToolBar2->widgetForAction(button)) widget->setMinimumHeight(kButtonHeight);
  }
  FGroup->actions().constFirst()->setChecked(true);
  ToolBar2->adjustSize();
  ToolBar2->show();
  FScrollArea->show();
  Fit();
}

void TInterpretationBar::Fit() {
  const QScrollBar* bar = FScrollArea->horizontalScrollBar();
  const int scrollBarHeight = bar->maximum() > 0 ? bar->sizeHint().height() : 0;
  FScrollArea->setFixedHeight(ToolBar2->sizeHint().height() + scrollBarHeight);
}

void TInterpretationBar::Remove() {
  ToolBar2->hide();
  FScrollArea->hide();
  // Deleting an action removes it from the group and its button from the bar.
  const QList<QAction*> buttons = FGroup->actions();
  for (QAction* button : buttons) delete button;
}

QList<QAction*> TInterpretationBar::Buttons() const { return FGroup->actions(); }

bool TInterpretationBar::Holds(QAction* button) const { return FGroup->actions().contains(button); }

}  // namespace ostrel
