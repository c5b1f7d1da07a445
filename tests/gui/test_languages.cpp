// The console in each of its languages: every text of every window in the chosen language, Qt's
// own texts with it, English that fits its controls, and an export that stays Chinese.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "core/monitor/channel_decoder.h"
#include "core/monitor/eas_decoder.h"
#include "core/monitor/message_body.h"
#include "core/monitor/monitor_lists.h"
#include "core/records/record_lines.h"
#include "core/records/stored_record.h"
#include "forms/secondary_windows.h"
#include "golden_records.h"
#include "gui/line_list_view.h"
#include "gui/status_bar.h"
#include "language_fixture.h"
#include "record_console.h"

using app::ConsoleLanguage;

namespace {

struct Console : testing_support::ConsoleWindow<> {
    Console() : ConsoleWindow(QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))) {}

    // The main window, then the six secondary windows.
    QList<QWidget*> Windows() {
        return {&form,
                &form.Form3(),
                &form.fSetdlg(),
                &form.ChangeIPdlg(),
                &form.locateForm(),
                &form.fNhSetDlg(),
                &form.fPhSetDlg()};
    }
};

bool HasChinese(const QString& text) {
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return text.contains(han);
}

// Every text a window shows or offers (titles, captions, items, headers, tooltips, names read
// out by assistive technology), each with the control that carries it.
QList<std::pair<QString, QString>> ShownTexts(QWidget& window) {
    QList<std::pair<QString, QString>> out{{window.objectName(), window.windowTitle()}};
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        const QString name = w->objectName();
        out.append({name, w->toolTip()});
        out.append({name, w->accessibleName()});
        if (auto* label = qobject_cast<QLabel*>(w)) {
            out.append({name, label->text()});
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            out.append({name, button->text()});
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            out.append({name, group->title()});
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            out.append({name, edit->placeholderText()});
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i) {
                out.append({name, combo->itemText(i)});
            }
        } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                out.append({name, tabs->tabText(i)});
            }
        } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
            for (int i = 0; i < table->columnCount(); ++i) {
                if (const QTableWidgetItem* item = table->horizontalHeaderItem(i)) {
                    out.append({name, item->text()});
                }
            }
        }
    }
    return out;
}

// The controls whose text is cut off: a label, button or group title narrower than its text
// needs at the default font, or a tab bar too narrow for its tabs.
QStringList ClippedControls(QWidget& window) {
    QStringList clipped;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window)) {
            continue;
        }
        int needed = 0;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap()) {
            needed = label->minimumSizeHint().width();
            text = label->text();
        } else if (auto* push = qobject_cast<QPushButton*>(w)) {
            // The text and the button's margins; sizeHint() would add the style's minimum width.
            const QStyle& style = *push->style();
            needed = push->fontMetrics().horizontalAdvance(push->text()) +
                     style.pixelMetric(QStyle::PM_ButtonMargin) +
                     2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth);
            text = push->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            needed = button->sizeHint().width();
            text = button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(w); group && !group->title().isEmpty()) {
            needed = group->fontMetrics().horizontalAdvance(group->title()) + 8;
            text = group->title();
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            // All tabs side by side, without the scroll buttons of a crowded tab bar.
            needed = tabs->tabBar()->sizeHint().width();
            text = tabs->tabText(0);
        }
        if (!text.trimmed().isEmpty() && needed > w->width()) {
            clipped << QStringLiteral("%1 \"%2\" needs %3 px, has %4")
                           .arg(w->objectName(), text)
                           .arg(needed)
                           .arg(w->width());
        }
    }
    return clipped;
}

// Brings a page of a tab widget to the front, and the pages of the tab widgets around it.
void ShowPage(QTabWidget& tabs, int page) {
    tabs.setCurrentIndex(page);
    QWidget* inner = &tabs;
    for (QWidget* w = tabs.parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* outer = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < outer->count(); ++i) {
                if (outer->widget(i)->isAncestorOf(inner)) {
                    outer->setCurrentIndex(i);
                }
            }
        }
        inner = w;
    }
    QCoreApplication::processEvents();
}

void ShowWhole(QWidget& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

}  // namespace

class TestLanguages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void translationsLoad_data() {
        QTest::addColumn<ConsoleLanguage>("language");
        QTest::newRow("zh") << ConsoleLanguage::Chinese;
        QTest::newRow("en") << ConsoleLanguage::English;
    }
    // The console's catalogue and Qt's are all found: the build embeds one, the system has the
    // other (qt6-translations-l10n).
    void translationsLoad() {
        QFETCH(ConsoleLanguage, language);
        const ScopedConsoleLanguage scoped(language);
        QCOMPARE(scoped.Missing(), QStringList());
    }

    // No window shows a Chinese character in English; in Chinese the same controls keep the
    // source texts.
    void everyWindowInTheChosenLanguage() {
        QHash<QString, QString> english;
        {
            const ScopedConsoleLanguage scoped(ConsoleLanguage::English);
            Console c;
            c.Connect(4, 0x01);
            c.library.Script(QStringLiteral("SetRelay"), 0, {{QStringLiteral("s"), 1}});
            c.click("SetRealy");
            for (QWidget* window : c.Windows()) {
                for (const auto& [control, text] : ShownTexts(*window)) {
                    QVERIFY2(!HasChinese(text), qPrintable(window->objectName() + u'/' + control +
                                                           QStringLiteral(": ") + text));
                    english.insert(window->objectName() + u'/' + control, text);
                }
            }
            QVERIFY2(c.panel(0).endsWith(QStringLiteral("Set relay: OK")), qPrintable(c.panel(0)));
            for (int i = 0; i < gui::GateStatusBar::kPanelCount; ++i) {
                QVERIFY2(!HasChinese(c.form.StatusBar().Panel(i)),
                         qPrintable(c.form.StatusBar().Panel(i)));
            }
            QCOMPARE(c.form.PageControl1().tabText(0), QStringLiteral("Commands"));
        }
        const ScopedConsoleLanguage scoped(ConsoleLanguage::Chinese);
        Console c;
        QCOMPARE(c.form.PageControl1().tabText(0), QStringLiteral("命令"));
        QCOMPARE(c.form.fSetdlg().windowTitle(), QStringLiteral("属性设置"));
        QCOMPARE(c.form.StatusBar().Panel(2), QStringLiteral("IF1: 通讯关闭"));
        int translatedControls = 0;
        for (QWidget* window : c.Windows()) {
            for (const auto& [control, text] : ShownTexts(*window)) {
                translatedControls += HasChinese(text) ? 1 : 0;
            }
        }
        QVERIFY2(translatedControls > 250, qPrintable(QString::number(translatedControls)));
    }

    void captionsSayWhatWasDone_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("line");
        QTest::newRow("set address") << "btnSetControAddr"
                                     << ""
                                     << "Set address: OK";
        QTest::newRow("read address") << "btnGetControAddr"
                                      << ""
                                      << "Read address: OK";
        QTest::newRow("relay") << "SetRealy"
                               << ""
                               << "Set relay: OK";
        QTest::newRow("identity") << "Btn_GetControllerInfo"
                                  << ""
                                  << "Read basic info: OK";
        QTest::newRow("read association") << "Button2"
                                          << ""
                                          << "Read association: OK";
        QTest::newRow("read tag reading") << "Button4"
                                          << ""
                                          << "Read tag reading: OK";
        QTest::newRow("record status") << "GetBackRecorfStatus"
                                       << ""
                                       << "Read record status: OK";
        QTest::newRow("infrared direction") << "Button7"
                                            << ""
                                            << "Set IR direction: OK";
        QTest::newRow("set alarms") << "Button12"
                                    << "RadioButton7"
                                    << "Set alarms: OK";
        QTest::newRow("read alarms") << "Button12"
                                     << "RadioButton8"
                                     << "Read alarms: OK";
        QTest::newRow("read configuration") << "ControllerInfo"
                                            << "RadioButton1"
                                            << "Read configuration: OK";
    }
    // A command's line in English names what was done, in its own words: never a control's
    // text run into the result ("SetOK").
    void captionsSayWhatWasDone() {
        QFETCH(QString, button);
        QFETCH(QString, radio);
        QFETCH(QString, line);
        const ScopedConsoleLanguage scoped(ConsoleLanguage::English);
        Console c;
        c.Connect(4, 0x01);
        c.setText("editNewConAddr", QStringLiteral("1F"));
        if (!radio.isEmpty()) {
            c.check(qPrintable(radio));
        }
        c.click(qPrintable(button));
        QCOMPARE(c.prompter.messages.size(), 0);
        QCOMPARE(c.panel(0), QStringLiteral("09:08:07  ") + line);
    }

    void qtOwnTextsFollow_data() {
        QTest::addColumn<ConsoleLanguage>("language");
        QTest::addColumn<QString>("ok");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("copy");
        QTest::newRow("zh") << ConsoleLanguage::Chinese << QStringLiteral("确定")
                            << QStringLiteral("取消") << QStringLiteral("复制");
        QTest::newRow("en") << ConsoleLanguage::English << QStringLiteral("OK")
                            << QStringLiteral("Cancel") << QStringLiteral("Copy");
    }
    // Standard buttons and a line edit's context menu speak the console's language, whatever
    // the system locale says.
    void qtOwnTextsFollow() {
        QFETCH(ConsoleLanguage, language);
        QFETCH(QString, ok);
        QFETCH(QString, cancel);
        QFETCH(QString, copy);
        const ScopedConsoleLanguage scoped(language);
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Ok)->text().remove(u'&'), ok);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove(u'&'), cancel);
        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList actions;
        for (const QAction* action : menu->actions()) {
            actions << action->text().remove(u'&').section(u'\t', 0, 0).section(u'(', 0, 0);
        }
        QVERIFY2(actions.contains(copy), qPrintable(actions.join(u'|')));
    }

    void controlsHoldTheirTexts_data() {
        QTest::addColumn<ConsoleLanguage>("language");
        QTest::newRow("zh") << ConsoleLanguage::Chinese;
        QTest::newRow("en") << ConsoleLanguage::English;
    }
    // Every label, button and group title of every page and window shows whole, and no window
    // asks for more room in English than in Chinese.
    void controlsHoldTheirTexts() {
        QFETCH(ConsoleLanguage, language);
        QList<QSize> chineseSizes;
        {
            const ScopedConsoleLanguage chinese(ConsoleLanguage::Chinese);
            Console c;
            for (QWidget* window : c.Windows()) {
                chineseSizes << window->sizeHint();
            }
        }
        const ScopedConsoleLanguage scoped(language);
        Console c;
        const QList<QWidget*> windows = c.Windows();
        for (qsizetype i = 0; i < windows.size(); ++i) {
            QWidget& window = *windows[i];
            QVERIFY2(window.sizeHint().width() <= chineseSizes[i].width() &&
                         window.sizeHint().height() <= chineseSizes[i].height(),
                     qPrintable(QStringLiteral("%1: %2x%3 against %4x%5")
                                    .arg(window.objectName())
                                    .arg(window.sizeHint().width())
                                    .arg(window.sizeHint().height())
                                    .arg(chineseSizes[i].width())
                                    .arg(chineseSizes[i].height())));
            ShowWhole(window);
            QStringList clipped = ClippedControls(window);
            for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
                for (int page = 0; page < tabs->count(); ++page) {
                    ShowPage(*tabs, page);
                    clipped << ClippedControls(window);
                }
            }
            clipped.removeDuplicates();
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
        }
    }

    // Every line a record or a live message makes reads English in English and Chinese from the
    // source texts, whatever language is installed.
    void linesFollowTheTableTheyAreGiven() {
        const ScopedConsoleLanguage scoped(ConsoleLanguage::English);
        QStringList display;
        QStringList source;
        int index = 0;
        for (const GoldenRecord& r : GoldenRecords()) {
            const auto* bytes = reinterpret_cast<const gate::Byte*>(r.body.constData());
            const records::StoredRecord record(static_cast<gate::Byte>(r.kind),
                                               {bytes, static_cast<std::size_t>(r.body.size())},
                                               static_cast<int>(r.body.size()));
            ++index;
            for (const util::TextTable* texts :
                 {&util::TextTable::Display(), &util::TextTable::Source()}) {
                QStringList& lines = texts->Translates() ? display : source;
                lines << records::EarliestRecordLine(record, *texts)
                      << records::IndexedRecordLine(index, record, *texts)
                      << records::ExportLine(index, record, *texts);
            }
        }
        const QByteArray time = QByteArray::fromHex("0C0506090807");
        for (int kind = 0; kind <= 0x22; ++kind) {
            // Counts, UID and time for every kind's layout; status 1 for the EAS events.
            const monitor::MessageBody body(QByteArray::fromHex("01") + time + time + time);
            for (const util::TextTable* texts :
                 {&util::TextTable::Display(), &util::TextTable::Source()}) {
                QStringList& lines = texts->Translates() ? display : source;
                QString marker;
                for (const auto& decoded :
                     {monitor::DecodeChannelEvent(kind, body, *texts),
                      monitor::DecodeEasMessage(kind, body, marker, *texts)}) {
                    for (const auto& line : decoded ? decoded->lines : decltype(decoded->lines)()) {
                        lines << line.second;
                    }
                }
            }
        }
        QCOMPARE(display.size(), source.size());
        int chineseSourceLines = 0;
        for (qsizetype i = 0; i < display.size(); ++i) {
            QVERIFY2(!HasChinese(display[i]), qPrintable(display[i]));
            chineseSourceLines += HasChinese(source[i]) ? 1 : 0;
        }
        QVERIFY2(chineseSourceLines >= 40, qPrintable(QString::number(chineseSourceLines)));
    }

    // The live lines of every kind show whole in their lists in English, with three-digit
    // counts and a passage of unknown direction.
    void liveLinesFitTheirLists() {
        const ScopedConsoleLanguage scoped(ConsoleLanguage::English);
        Console c;
        ShowWhole(c.form);
        const QByteArray time = QByteArray::fromHex("0C0506090807");
        const QByteArray counts = QByteArray::fromHex("7B00E7037B00E703");  // 123, 999, ...
        QList<std::pair<monitor::MonitorList, QString>> lines;
        const monitor::PassageReport passage = monitor::DecodePassage(
            monitor::MessageBody(QByteArray::fromHex("0123456789ABCDEF03") + time),
            util::TextTable::Display());
        lines.append({monitor::MonitorList::ListBox2, monitor::PassageLine(passage)});
        for (int kind = 0; kind <= 0x22; ++kind) {
            QString marker;
            // Statistics carry counts (four in channel mode, three in EAS mode) before the
            // time; the other kinds a status byte.
            QByteArray body = QByteArray::fromHex("01") + time;
            if (kind == monitor::channel_kind::kStatistics) {
                body = counts + time;
            } else if (kind == monitor::eas_kind::kStatistics) {
                body = counts.left(6) + time;
            }
            for (const auto& decoded :
                 {monitor::DecodeChannelEvent(kind, monitor::MessageBody(body),
                                              util::TextTable::Display()),
                  monitor::DecodeEasMessage(kind, monitor::MessageBody(body), marker,
                                            util::TextTable::Display())}) {
                if (decoded) {
                    lines.append(decoded->lines);
                }
            }
        }
        QVERIFY2(lines.size() >= 10, qPrintable(QString::number(lines.size())));
        QStringList tooWide;
        for (const auto& [list, line] : lines) {
            auto* view = c.form.findChild<gui::LineListView*>(monitor::ListObjectName(list));
            QVERIFY2(view != nullptr, qPrintable(monitor::ListObjectName(list)));
            // The list's page in front, so that the list has its real width.
            for (QWidget* w = view->parentWidget(); w != nullptr; w = w->parentWidget()) {
                if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
                    for (int page = 0; page < tabs->count(); ++page) {
                        if (tabs->widget(page)->isAncestorOf(view)) {
                            ShowPage(*tabs, page);
                        }
                    }
                    break;
                }
            }
            const int needed = view->fontMetrics().horizontalAdvance(line);
            if (needed > view->viewport()->width()) {
                tooWide << QStringLiteral("%1 \"%2\" needs %3 px, has %4")
                               .arg(monitor::ListObjectName(list), line)
                               .arg(needed)
                               .arg(view->viewport()->width());
            }
        }
        QVERIFY2(tooWide.isEmpty(), qPrintable(tooWide.join(u'\n')));
    }

    // The export file in English mode is the Chinese file, byte for byte.
    void exportStaysChineseInEnglish() {
        const ScopedConsoleLanguage scoped(ConsoleLanguage::English);
        QTemporaryDir dir;
        RecordConsole f({dir.path(), {}});
        const QList<GoldenRecord> golden = GoldenRecords();
        f.library.Script(QStringLiteral("GetBGLogDataStatus"), 0,
                         {{QStringLiteral("count"), static_cast<int>(golden.size())},
                          {QStringLiteral("earliest"), GoldenBody({12, 5, 6, 9, 8, 7})},
                          {QStringLiteral("latest"), GoldenBody({24, 5, 6, 9, 8, 0})}});
        for (const GoldenRecord& r : golden) {
            f.library.Script(QStringLiteral("RetrieveRecordByIndex"), r.result,
                             {{QStringLiteral("kind"), r.kind}, {QStringLiteral("body"), r.body}});
        }
        f.Click("SaveRecordAsTextFile");

        QFile written(QDir(dir.path()).filePath(QStringLiteral("05060908.txt")));
        QFile expected(QStringLiteral(GOLDEN_DIR "/export_every_kind.txt"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), expected.readAll());
        // The windows did speak English meanwhile.
        QVERIFY2(f.bar->Panel(0).contains(QStringLiteral("Save all records")),
                 qPrintable(f.bar->Panel(0)));
    }
};

QTEST_MAIN(TestLanguages)
#include "test_languages.moc"
