// The link log window.
#include "app/linklogwindow.h"

#include "cardlink/linklog.h"
#include "errors/VEK_errorV3.h"
#include "ui/uiruntime.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QTextDocumentFragment>
#include <QTextBlock>
#include <QVBoxLayout>

#include <memory>

namespace {

// One exchange is one block of the text (its two lines joined by a line separator), so that
// the widget's block limit keeps exactly as many exchanges as the history.
QString exchangeBlock(const LinkExchange &exchange) {
    QString text = QString::fromUtf8(formatLinkExchange(exchange));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    text.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
    return text;
}

class LinkLogWindow : public QWidget {
public:
    explicit LinkLogWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
        setObjectName(QStringLiteral("LINKLOG"));
        setWindowTitle(QCoreApplication::translate("LinkLogWindow", "Schnittstellenprotokoll"));
        resize(760, 420);
        text = new QPlainTextEdit(this);
        text->setObjectName(QStringLiteral("LINKLOG_TEXT"));
        text->setReadOnly(true);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        text->setMaximumBlockCount(static_cast<int>(LinkLogHistory::kDefaultCapacity));
        text->setAccessibleName(
            QCoreApplication::translate("LinkLogWindow", "Austausch mit der Karte"));
        auto *copy =
            new QPushButton(QCoreApplication::translate("LinkLogWindow", "&Kopieren"), this);
        copy->setObjectName(QStringLiteral("LINKLOG_COPY"));
        auto *save = new QPushButton(
            QCoreApplication::translate("LinkLogWindow", "&Speichern unter ..."), this);
        save->setObjectName(QStringLiteral("LINKLOG_SAVE"));
        auto *close =
            new QPushButton(QCoreApplication::translate("LinkLogWindow", "Schl&ießen"), this);
        close->setObjectName(QStringLiteral("LINKLOG_CLOSE"));
        auto *buttons = new QHBoxLayout;
        buttons->addWidget(copy);
        buttons->addWidget(save);
        buttons->addStretch();
        buttons->addWidget(close);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(text);
        layout->addLayout(buttons);
        connect(copy, &QPushButton::clicked, this, [this] { copyToClipboard(); });
        connect(save, &QPushButton::clicked, this, [this] { saveAs(); });
        connect(close, &QPushButton::clicked, this, &QWidget::close);
    }

    void fill(const LinkLogHistory &history) {
        text->clear();
        for (const LinkExchange &exchange : history.exchanges())
            text->appendPlainText(exchangeBlock(exchange));
        scrollToNewest();
    }

    void append(const LinkExchange &exchange) {
        text->appendPlainText(exchangeBlock(exchange));
        scrollToNewest();
    }

protected:
    // Escape closes it, as it closes every other window of the program (they are dialogs).
    void keyPressEvent(QKeyEvent *event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            close();
            return;
        }
        QWidget::keyPressEvent(event);
    }

private:
    void scrollToNewest() { text->moveCursor(QTextCursor::End); }

    // The selection when there is one, else everything kept.
    void copyToClipboard() {
        QString copied = text->textCursor().selection().toPlainText();
        if (copied.isEmpty())
            copied = QString::fromUtf8(linkLogText());
        QApplication::clipboard()->setText(copied);
    }

    void saveAs() {
        const QString path = QFileDialog::getSaveFileName(
            this, QCoreApplication::translate("LinkLogWindow", "Protokoll speichern"),
            QStringLiteral("trz4-protokoll.txt"),
            QCoreApplication::translate("LinkLogWindow", "Textdateien (*.txt);;Alle Dateien (*)"));
        if (path.isEmpty())
            return;
        const std::string failure = linkLogSave(path.toStdString());
        if (!failure.empty())
            QMessageBox::warning(
                this, QCoreApplication::translate("LinkLogWindow", "Protokoll speichern"),
                QCoreApplication::translate("LinkLogWindow",
                                            "Das Protokoll konnte nicht gespeichert werden:") +
                    QLatin1Char('\n') + QString::fromStdString(failure));
    }

    QPlainTextEdit *text = nullptr;
};

struct LinkLog {
    LinkLogHistory history;
    QPointer<LinkLogWindow> window;
    bool started = false;
};

LinkLog &linkLog() {
    static LinkLog instance;
    return instance;
}

} // namespace

void linkLogStart() {
    LinkLog &log = linkLog();
    if (log.started)
        return;
    log.started = true;
    log.history.listener = [](const LinkExchange &added, bool) {
        if (LinkLogWindow *window = linkLog().window)
            window->append(added);
    };
    setLinkLogSink([](const LinkExchange &exchange) { linkLog().history.add(exchange); });
}

void linkLogStop() {
    LinkLog &log = linkLog();
    if (!log.started)
        return;
    setLinkLogSink({});
    log.history.clear();
    log.history.listener = nullptr;
    delete log.window.data();
    log.started = false;
}

void linkLogShow(int parentPanel) {
    LinkLog &log = linkLog();
    if (log.window.isNull()) {
        log.window = new LinkLogWindow(panelWidget(parentPanel));
        log.window->fill(log.history);
    }
    log.window->show();
    log.window->raise();
    log.window->activateWindow();
}

QWidget *linkLogWindow() {
    return linkLog().window.data();
}

std::string linkLogText() {
    return linkLog().history.text();
}

std::string linkLogSave(const std::string &path) {
    QSaveFile file(QString::fromStdString(path));
    const std::string text = linkLogText();
    // Text mode: lines end as the system's text files do (CR LF on Windows, for Notepad).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit())
        return file.errorString().toStdString();
    return {};
}
