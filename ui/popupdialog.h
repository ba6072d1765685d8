// The modal box behind MessagePopup and GenericMessagePopup.
#pragma once

#include <QDialog>
#include <QString>

#include <array>

class QLineEdit;
class QPushButton;

namespace ui::detail {

class PopupDialog : public QDialog {
    Q_OBJECT
public:
    // Labels that are empty make no button. enterButton / escapeButton are 1-3 or 0 (key off);
    // the Enter button carries the default-button mark.
    PopupDialog(const QString &title, const QString &message, const std::array<QString, 3> &labels,
                bool withInput, int enterButton, int escapeButton, QWidget *parent);

    // The button 1-3 or the input field (4) that takes the focus when the box opens; its focus
    // ring shows from the start.
    void setActiveControl(int control);
    QString inputText() const;
    bool hasButton(int number) const;

    // The answer when no operator is there to give one (the program is being ended): the
    // Escape button, or the last button when there is none. Writes "<title>: <text>" to stderr
    // so that what the box says is not lost; does not close the box.
    int answerWithoutOperator();
    // Closes every open box with answerWithoutOperator().
    static void closeAllWithoutOperator();

    // Object names that tests and assistive tools can rely on.
    static constexpr const char *kTextName = "popupText";
    static constexpr const char *kInputName = "popupInput";

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    std::array<QPushButton *, 3> buttons{};
    QLineEdit *input = nullptr;
    QString message;
    int enterButton;
    int escapeButton;
};

} // namespace ui::detail
