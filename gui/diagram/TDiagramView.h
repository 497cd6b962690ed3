// The scrolling container of a diagram: a graphics view over its own scene,
// whose scene coordinates are the container coordinates of the drawing
// (origin at the top-left corner of the whole diagram).
#pragma once

#include <QGraphicsView>
#include <QPointer>

#include <functional>
#include <utility>
#include <vector>

class QGraphicsScene;

namespace ostrel {

class TDiagramView final : public QGraphicsView {
  Q_OBJECT
  //! The selection index into the diagram's sentences; -1 for none.
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)

 public:
  explicit TDiagramView(QWidget* parent = nullptr);
  TDiagramView(const TDiagramView&) = delete;
  TDiagramView& operator=(const TDiagramView&) = delete;

  //! The scene the diagram items live in.
  [[nodiscard]] QGraphicsScene& Scene() { return *FScene; }

  [[nodiscard]] int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  //! Places a child widget of the viewport at container coordinates; it keeps
  //! that place in the diagram while the view scrolls.
  void PlaceChild(QWidget* child, const QRect& containerGeometry);
  //! The container geometry last given to PlaceChild (or the widget's own).
  [[nodiscard]] QRect ChildGeometry(const QWidget* child) const;

  //! Makes the scroll extent run from the origin to the visible items' far
  //! edges (plus the bottom margin) and puts the child widgets back in place.
  void UpdateExtent();
  //! Puts the child widgets back in place after the extent was set elsewhere.
  void RepositionChildren();

  //! The selection mark: a focus frame just outside each rectangle (container
  //! coordinates). It is painted over the scene, not an item of it, so it
  //! moves nothing, takes no presses and is not part of the drawing.
  void SetSelectionMark(std::vector<QRect> rects);
  [[nodiscard]] const std::vector<QRect>& SelectionMark() const { return FSelectionMark; }

  //! Presses, double clicks and popup requests, the points in diagram
  //! coordinates (the popup's on the screen).
  std::function<void(QPoint)> OnPress;
  std::function<void(QPoint)> OnDoubleClick;
  std::function<void(QPoint)> OnPopup;

 protected:
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void drawForeground(QPainter* painter, const QRectF& rect) override;

 private:
  QGraphicsScene* FScene;
  int FTag = -1;
  std::vector<std::pair<QPointer<QWidget>, QRect>> FChildren;
  std::vector<QRect> FSelectionMark;
};

}  // namespace ostrel
