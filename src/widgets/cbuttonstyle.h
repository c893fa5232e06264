#pragma once

#include <QAbstractButton>
#include <QIcon>
#include <QImage>
#include <QPixmap>

// A push button drawn from three icons (normal, hot, pressed) over a piece of a background
// bitmap, so that it blends into the bar it sits on.
class CButtonStyle : public QAbstractButton {
    Q_OBJECT

public:
    enum ButtonState { Normal = 1, Hot = 2, Pressed = 3 };

    // The control bar bitmap; as background its pixels from (3, 8) on are used unscaled.
    static constexpr int kControlBarBitmap = 107;

    explicit CButtonStyle(QWidget* parent = nullptr);

    // Icons by number from the resource library (each lookup is logged there).
    void SetIcons(int normal, int hot, int pressed);
    void SetIcons(const QIcon& normal, const QIcon& hot, const QIcon& pressed);

    // Holds a background bitmap, by number from the library or given, and turns its drawing on.
    void SetBackground(int bitmapNumber);
    void SetBackground(int bitmapNumber, const QImage& image);
    void SetDrawBackground(bool draw);

    ButtonState state() const { return state_; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetState(ButtonState state);
    void DrawBackground(QPainter& painter) const;

    ButtonState state_ = Normal;
    QIcon icons_[3];  // normal, hot, pressed
    int backgroundNumber_ = 0;
    QPixmap background_;
    bool drawBackground_ = false;
};
