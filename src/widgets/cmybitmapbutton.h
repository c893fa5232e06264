#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>

// A push button drawn from up to four bitmaps: normal, selected (held down), focused and
// disabled. A state without a bitmap of its own shows the normal one.
class CMyBitmapButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CMyBitmapButton(QWidget* parent = nullptr);

    // Loads the bitmaps by number from the resource library; 0 for one of the last three means
    // that state has none. False when any named bitmap is missing (the others are still used).
    bool LoadBitmaps(int normal, int selected = 0, int focused = 0, int disabled = 0);
    void SetImages(const QImage& normal, const QImage& selected = {}, const QImage& focused = {},
                   const QImage& disabled = {});
    // Resizes the button to its normal bitmap.
    void SizeToContent();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QPixmap& CurrentPixmap() const;

    QPixmap normal_;
    QPixmap selected_;
    QPixmap focused_;
    QPixmap disabled_;
};
