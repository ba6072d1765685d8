// A small round indicator lamp with an on-colour. Besides its colour it carries its state as
// text ("ein" / "aus") in its accessible description and tooltip, so the state never depends
// on telling colours apart.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace ui::detail {

class LedWidget : public QWidget {
    Q_OBJECT
public:
    explicit LedWidget(const QString &name, QWidget *parent = nullptr);

    bool isOn() const { return on; }
    void setOn(bool value);
    // 0xRRGGBB.
    int onColour() const { return colour.rgb() & 0xFFFFFF; }
    void setOnColour(int rgb);
    // A non-empty note shows the lamp as stale: greyed, with the note in its tooltip. An empty
    // note shows it as current.
    void setStaleNote(const QString &note);
    // The words said for the two states in place of "ein" and "aus"; an empty one keeps that
    // state's word.
    void setStateTexts(const QString &onWord, const QString &offWord);
    bool isStale() const { return !staleNote.isEmpty(); }

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateStateText();

    QString name;
    QString staleNote;
    QString onText;
    QString offText;
    bool on = false;
    QColor colour{0x00, 0xC0, 0x00};
};

// Text of an LED state as read out and shown in the tooltip (translated in the context
// "LedWidget").
inline constexpr const char *kLedOnText = QT_TRANSLATE_NOOP("LedWidget", "ein");
inline constexpr const char *kLedOffText = QT_TRANSLATE_NOOP("LedWidget", "aus");

} // namespace ui::detail
