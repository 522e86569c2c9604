#pragma once
// The write-speed field: arrow steps snap to the ladder of standard speeds, typed values are
// taken as typed, and a speed above the recorder's maximum needs the user's word.
#include <QChar>
#include <QSpinBox>
#include <array>

namespace quillon {

class Prompter;

// Positions 1 to 15 of the ladder are indexes 0 to 14 here.
inline constexpr std::array<int, 15> SpeedSteps{-1, 0, 1, 2, 4, 8, 10, 12, 16, 20, 24, 32, 40, 48, 52};
inline constexpr int lowestSpeed = 0;
inline constexpr int highestSpeed = 52;
inline constexpr int defaultSpeed = 8;

class SpeedSnapper {
public:
    SpeedSnapper(Prompter &prompter, int maxSpeed, QChar recorderLetter);

    int FMaxSpeed() const { return m_maxSpeed; }
    int FPrevSpeed() const { return m_prevSpeed; } // -1 until the first change
    // An arrow step from the last accepted speed towards `value`; returns what the field
    // shows now.
    int stepped(int value);
    // A value typed into the field; returns what the field shows now.
    int typed(int value);

private:
    int accept(int value);
    // The target, or the last accepted speed when the user does not confirm it.
    int confirmed(int target);

    Prompter &m_prompter;
    int m_maxSpeed;
    QChar m_letter;
    int m_prevSpeed = -1;
};

// EditSpeed: a spin box whose arrows and page keys go through the snapper.
class SpeedSpinBox : public QSpinBox {
public:
    explicit SpeedSpinBox(QWidget *parent = nullptr);
    // The snapper of the recorder in use; the field does not own it. Null: plain steps.
    void setSnapper(SpeedSnapper *snapper) { m_snapper = snapper; }
    void stepBy(int steps) override;

private:
    void onEditingFinished();
    SpeedSnapper *m_snapper = nullptr;
};

} // namespace quillon
