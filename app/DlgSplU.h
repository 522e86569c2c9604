#pragma once
// The banner window: a borderless picture window that the banner rotation shows now and
// then. It is created at start so the start-up order holds; the rotation fills it.
#include <QDialog>

namespace quillon {

class TDlgSpl : public QDialog {
    Q_OBJECT
public:
    explicit TDlgSpl(QWidget *parent = nullptr);
};

} // namespace quillon
