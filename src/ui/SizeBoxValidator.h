#pragma once

#include <QValidator>

// A size filter box: digits only, and no more than the largest size the search
// accepts (32767 MB). A character that breaks either rule never reaches the box.
class SizeBoxValidator final : public QValidator
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SizeBoxValidator)

public:
    static constexpr int MaximumSize = 32767;

    explicit SizeBoxValidator(QObject *parent = nullptr);

    State validate(QString &input, int &position) const override;
};
