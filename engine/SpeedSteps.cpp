#include "engine/SpeedSteps.h"

#include "platform/Prompter.h"

namespace quillon {

SpeedSnapper::SpeedSnapper(Prompter &prompter, int maxSpeed, QChar recorderLetter)
    : m_prompter(prompter)
    , m_maxSpeed(maxSpeed)
    , m_letter(recorderLetter)
{
}

int SpeedSnapper::accept(int value)
{
    m_prevSpeed = value;
    return value;
}

int SpeedSnapper::confirmed(int target)
{
    if (target <= m_maxSpeed)
        return target;
    const PromptButton answer =
        m_prompter.ask({QStringLiteral("Are you sure that drive ") + m_letter +
                            QStringLiteral(": supports writing at speed ") + QString::number(target),
                        QStringLiteral("Detected max speed = ") + QString::number(m_maxSpeed),
                        PromptIcon::Warning, pbYes | pbNo | pbCancel, pbCancel});
    return answer == pbYes ? target : m_prevSpeed;
}

int SpeedSnapper::stepped(int value)
{
    if (m_prevSpeed == -1 || value == m_prevSpeed)
        return accept(value);
    // i: the first step at least as fast as the last accepted speed, else the top one.
    int i = int(SpeedSteps.size()) - 1;
    for (int p = 0; p + 1 < int(SpeedSteps.size()); ++p) {
        if (SpeedSteps[size_t(p)] >= m_prevSpeed) {
            i = p;
            break;
        }
    }
    if (value > m_prevSpeed) {
        // From a typed speed between two steps the next step up is the one above it.
        const bool onLadder = SpeedSteps[size_t(i)] <= m_prevSpeed;
        const int target = onLadder ? SpeedSteps[size_t(std::min(i + 1, int(SpeedSteps.size()) - 1))]
                                    : SpeedSteps[size_t(i)];
        return accept(confirmed(target));
    }
    // Stepping down from the lowest speed stays there: -1 is no speed.
    const int target = SpeedSteps[size_t(i >= 1 ? i - 1 : i)];
    return accept(std::max(target, lowestSpeed));
}

int SpeedSnapper::typed(int value)
{
    value = std::clamp(value, lowestSpeed, highestSpeed);
    if (m_prevSpeed == -1 || value == m_prevSpeed)
        return accept(value);
    return accept(confirmed(value));
}

SpeedSpinBox::SpeedSpinBox(QWidget *parent)
    : QSpinBox(parent)
{
    setRange(lowestSpeed, highestSpeed);
    setValue(defaultSpeed);
    setToolTip(QStringLiteral("Use 0 if other speed causes problems"));
    // Typed digits are judged once the edit is finished, not at every key.
    setKeyboardTracking(false);
    connect(this, &QSpinBox::editingFinished, this, [this] { onEditingFinished(); });
}

void SpeedSpinBox::stepBy(int steps)
{
    if (!m_snapper) {
        QSpinBox::stepBy(steps);
        return;
    }
    if (m_snapper->FPrevSpeed() == -1)
        m_snapper->typed(value());
    int shown = value();
    for (int n = 0; n < std::abs(steps); ++n)
        shown = m_snapper->stepped(steps > 0 ? shown + 1 : shown - 1);
    setValue(shown);
}

void SpeedSpinBox::onEditingFinished()
{
    if (m_snapper)
        setValue(m_snapper->typed(value()));
}

} // namespace quillon
