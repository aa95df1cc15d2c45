#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace pennock::ui {

/// Asks for one value: a whole number, a decimal number or any text.
class TfrmInputValue : public QDialog
{
    Q_OBJECT
public:
    enum class ValueType { Integer, Decimal, Text };

    TfrmInputValue(const QString& prompt, const QString& defaultValue, const QString& valueType,
        QWidget* parent = nullptr);

    /// "INT"/"INTEGER" and "FLOAT"/"REAL"/"DOUBLE", trimmed and in any case; anything else is text.
    static ValueType classify(const QString& valueType);

    ValueType valueType() const noexcept { return mType; }
    /// The accepted text, trimmed; empty until "确 定" accepted a value.
    const QString& value() const noexcept { return mValue; }

    QComboBox* edtValue() const { return mEdit; }
    QLabel* lbMessage() const { return mMessage; }
    QPushButton* btOK() const { return mOk; }
    QPushButton* btCancel() const { return mCancel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btOKClick();
    /// True when the typed character may go in; otherwise the message line says why.
    bool acceptTyped(const QString& text);

    ValueType mType;
    QString mValue;
    QLabel* mPrompt;
    QComboBox* mEdit;
    QLabel* mMessage;
    QPushButton* mOk;
    QPushButton* mCancel;
};

/// Shows the value input dialog modally; the trimmed value, or empty when cancelled.
QString giveMeAnValue(
    QWidget* parent, const QString& prompt, const QString& defaultValue, const QString& valueType);

} // namespace pennock::ui
