#pragma once

#include "picture/plateexporter.h"
#include "scene/overviewplate.h"

#include <QImage>
#include <QWidget>

#include <optional>

namespace korvelian {

// The overview plate on the screen, for a projector: a window of its own over the main window,
// the plate as large as the window lets it be, drawn afresh at each size. It shows the plate
// it was last given; Escape closes it.
class PlateView : public QWidget
{
    Q_OBJECT

public:
    explicit PlateView(QWidget& window);

    // Shows plate, in worksheet colours or the screen's; the first time as large as the
    // main window's screen lets it be.
    void showPlate(OverviewPlate plate, bool worksheet);
    // Where the plate lies in the window: as large as fits, centred.
    QRect plateRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget& m_window;
    std::optional<OverviewPlate> m_plate;
    bool m_worksheet = false;
    // The plate drawn at the window's size, in device pixels, and where it lies: laid out once
    // for a size, not at every paint.
    QImage m_image;
    QRect m_target;
};

} // namespace korvelian
