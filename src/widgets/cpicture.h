#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

// Shows one bitmap at its top-left corner with one colour left out (see-through).
class CPicture : public QWidget {
    Q_OBJECT

public:
    explicit CPicture(QWidget* parent = nullptr);

    // By number from the resource library; false when it is missing (the picture keeps its
    // previous image).
    bool SetBitmap(int number);
    void SetBitmap(const QImage& image);
    // An invalid colour shows every pixel.
    void SetTransparentColor(const QColor& colour);

    const QImage& image() const { return image_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Prepare();

    QImage image_;
    QColor transparent_;
    QPixmap shown_;
};
