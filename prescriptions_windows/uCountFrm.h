#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace prescriptions_windows {

// "Количество": the amount of a component with its unit, as free text
// (0,05 г). Enter in the box ends it with OK; closing it ends it without.
class TCountFrm : public QDialog {
    Q_OBJECT
public:
    explicit TCountFrm(QWidget *parent = nullptr);

    QString value() const;

    QLabel *Label1;
    QLineEdit *edValue;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Enter ends the dialog with OK; other keys are the edit box's.
    bool edValueKeyDown(int key);
};

} // namespace prescriptions_windows
