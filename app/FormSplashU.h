#pragma once
// The splash window: borderless, always on top, centred on the desktop, as large as its
// single picture.
#include <QPixmap>
#include <QWidget>

namespace quillon {

class TFormSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFormSplash(QWidget *parent = nullptr);
    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }
    static QPixmap builtInPicture();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void centre();
    QPixmap m_picture;
};

} // namespace quillon
