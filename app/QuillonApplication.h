#pragma once
#include <QApplication>
#include <functional>

namespace quillon {

// An error that escapes an event handler must not end the program, nor vanish: it is
// written to the debug log and the program goes on.
class QuillonApplication : public QApplication {
    Q_OBJECT
public:
    QuillonApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
    int escapedErrors() const { return m_escaped; }
    // Runs one delivery; an error escaping it is logged and counted, and false returned.
    static bool deliverGuarded(QObject *receiver, const std::function<bool()> &deliver, int *escaped);

private:
    int m_escaped = 0;
};

} // namespace quillon
