#include "ui/TransitionPanel.h"

#include "ui/Theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QVariantAnimation>

TransitionPanel::TransitionPanel(QWidget *parent)
    : QWidget(parent)
    , m_animation(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("frEffect"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setDuration(EffectMilliseconds);
    m_animation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_animation, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    hide();
}

void TransitionPanel::Start(Effect effect)
{
    m_effect = effect;
    raise();
    show();
    m_animation->stop();
    m_animation->start();
}

bool TransitionPanel::IsPlaying() const
{
    return m_animation->state() == QAbstractAnimation::Running;
}

void TransitionPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal progress = m_animation->currentValue().toReal();
    // The page comes through as the effect ends.
    painter.setOpacity(1.0 - progress);
    const QRectF area = rect();
    QLinearGradient ground(area.topLeft(), area.bottomLeft());
    ground.setColorAt(0, QColor(Theme::Navy));
    ground.setColorAt(1, QColor(Theme::MidBlue));
    painter.fillRect(area, ground);

    // The curtain sweeps across a page switch and falls from the top on opening.
    QRectF curtain = area;
    QLinearGradient edge;
    if (m_effect == Effect::Opening) {
        curtain.setHeight(area.height() * progress);
        edge = QLinearGradient(curtain.topLeft(), curtain.bottomLeft());
    } else {
        curtain.setWidth(area.width() * progress);
        edge = QLinearGradient(curtain.topLeft(), curtain.topRight());
    }
    edge.setColorAt(0, QColor(Theme::PagePale));
    edge.setColorAt(0.85, QColor(Theme::LightBlue));
    edge.setColorAt(1, QColor(Theme::MidBlue));
    painter.fillRect(curtain, edge);
}

void TransitionPanel::hideEvent(QHideEvent *event)
{
    m_animation->stop();
    QWidget::hideEvent(event);
}
