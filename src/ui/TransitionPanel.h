#pragma once

#include <QWidget>

class QVariantAnimation;

// The short covering effect played over the page area while the window changes
// pages: a light curtain drawn across a navy-to-blue ground that fades away
// over the new page. It runs on an animation of its own, shorter than the page
// switch, and stops when hidden. It never takes input: clicks reach the page
// beneath it at once.
class TransitionPanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TransitionPanel)

public:
    enum class Effect { PageSwitch, Opening };

    static constexpr int EffectMilliseconds = 450;

    explicit TransitionPanel(QWidget *parent = nullptr);

    // Shows the panel in front and plays the effect from its start.
    void Start(Effect effect);
    bool IsPlaying() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QVariantAnimation *m_animation = nullptr;
    Effect m_effect = Effect::PageSwitch;
};
