// Every line a command handler can put into status-bar panel 0 fits the panel in English with
// room to spare, and in Chinese either fits or is shown cut with an ellipsis and whole as the
// tooltip. A line is a caption with a result the handler can really get, or one of the option
// switches' stamped lines.
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

#include "core/commands/switch_values.h"
#include "gui/status_bar.h"
#include "language_fixture.h"
#include "util/result_text.h"

using app::ConsoleLanguage;

namespace {

// Room left in panel 0 for a font a little wider than the test's.
constexpr int kSpare = 10;

// What a request can answer besides what every request can answer.
enum class Answers {
    Exchange,       // nothing more
    Open,           // opening a link: only success reaches the caption (a failure is 48)
    LiveFetch,      // a live-message fetch: the message codes of both modes, wrong mode
    Records,        // a record request: no such record, index out of range
    IrDirection,    // the infrared direction: not saved
    RecordWriting,  // record writing: cannot be switched off
};

// The results a handler can show after its caption. Every exchange can come back done (0),
// damaged (49), with a reply of the wrong length (50) or refused by a busy controller (51); the
// controller can answer any request with "invalid command" (8) and, while it starts, "self-test
// running" (6) or "looking for its configuration" (15). 48 shows no caption. On top of those,
// what the request itself can answer.
QList<int> ResultsOf(Answers answers) {
    if (answers == Answers::Open) {
        return {0};
    }
    QList<int> codes{0, 6, 8, 15, 49, 50, 51};
    switch (answers) {
        case Answers::LiveFetch:
            codes << 2 << 3 << 4 << 9 << 33 << 34;
            break;
        case Answers::Records:
            codes << 5 << 7;
            break;
        case Answers::IrDirection:
            codes << 12;
            break;
        case Answers::RecordWriting:
            codes << 13;
            break;
        default:
            break;
    }
    return codes;
}

struct Caption {
    const char* context;
    const char* source;
    Answers answers;
};

// Every caption a handler passes to the status bar, by the translation context it uses.
const QList<Caption>& Captions() {
    static const QList<Caption> captions{
        {"Alarms", "设置  ", Answers::Exchange},
        {"Alarms", "询查 ", Answers::Exchange},
        {"Alarms", "报警设置   ", Answers::Exchange},
        {"Configuration", "设置控制器配置信息", Answers::Exchange},
        {"Configuration", "获取控制器配置信息", Answers::Exchange},
        {"Configuration", "读取检测配置", Answers::Exchange},
        {"Configuration", "设置检测配置", Answers::Exchange},
        {"Configuration", "读取配置", Answers::Exchange},
        {"Configuration", "设置配置", Answers::Exchange},
        {"Configuration", "读取地址", Answers::Exchange},
        {"Configuration", "设置地址", Answers::Exchange},
        {"Connection", "打开端口", Answers::Open},
        {"Connection", "打开网口", Answers::Open},
        {"DeviceCommands", "设置继电器", Answers::Exchange},
        {"DeviceCommands", "控制LED、蜂鸣器", Answers::Exchange},
        {"DeviceCommands", "设置实时时钟", Answers::Exchange},
        {"DeviceCommands", "查询实时时钟", Answers::Exchange},
        {"DeviceCommands", "关闭红外", Answers::Exchange},
        {"DeviceCommands", "打开红外", Answers::Exchange},
        {"DeviceCommands", "查询红外", Answers::Exchange},
        {"DeviceCommands", "获取控制器基本信息", Answers::Exchange},
        {"DeviceCommands", "获取控制器详细信息", Answers::Exchange},
        {"DeviceCommands", "清除控制器队列中的缓存", Answers::Exchange},
        {"DeviceCommands", "获取读写器状态", Answers::Exchange},
        {"LiveMessage", "获取命令", Answers::LiveFetch},
        {"Records", "保存所有后台记录", Answers::Records},
        {"Records", "保存并删除所有后台记录", Answers::Records},
        {"Records", "查询后台记录状态", Answers::Records},
        {"Records", "提取最早时刻记录", Answers::Records},
        {"Records", "提取指定序号记录", Answers::Records},
        {"Records", "删除所有后台记录", Answers::Records},
        {"Switches", "红外探测方向设置", Answers::IrDirection},
        {"Switches", "红外探测方向读取", Answers::IrDirection},
        {"Switches", "读写器连接中断报警设置", Answers::Exchange},
        {"Switches", "读写器连接中断报警读取", Answers::Exchange},
        {"Switches", "设置是否写后台记录", Answers::RecordWriting},
        {"Switches", "设置是否写后台记录操作失败      ", Answers::RecordWriting},
        {"Switches", "读取是否写后台记录操作失败    ", Answers::Exchange},
        {"Switches", "保存或恢复配置现场数据    ", Answers::Exchange},
        {"Switches", "设置后台配置信息自动加载   ", Answers::Exchange},
        {"TagData", "数据交换命令", Answers::Exchange},
    };
    return captions;
}

// The option switches' own lines, in the installed language.
QStringList StampedTexts() {
    QStringList texts{commands::ModeForcedRefusalText(), commands::ModeSetFailedText(),
                      commands::ModeSetDoneText(), commands::ModeReadFailedText()};
    for (gate::Byte v = 0; v < 4; ++v) {
        for (const auto& text :
             {commands::ModeText(v, util::TextTable::Display()), commands::InfraredDirectionText(v),
              commands::ReaderLossAlarmText(v)}) {
            if (text) {
                texts << *text;
            }
        }
        texts << commands::BackRecordWritingText(v);
    }
    return texts;
}

// The lines that do not fit panel 0 as they should: in English, whole with kSpare pixels left;
// in Chinese, whole, or cut to the panel with an ellipsis and whole as the tooltip.
QStringList Misfits(ConsoleLanguage language, const QStringList& lines) {
    gui::GateStatusBar bar;
    QLabel& panel = *bar.PanelLabel(0);
    // The panel's size hint never goes below its fixed width; a free label with its frame
    // tells the width a text really needs.
    QLabel probe;
    probe.setFrameStyle(panel.frameStyle());
    probe.setTextFormat(Qt::PlainText);
    probe.setFont(panel.font());
    QStringList misfits;
    for (const QString& line : lines) {
        bar.SetPanel(0, line);
        probe.setText(panel.text());
        const int shown = probe.sizeHint().width();
        const bool whole = panel.text() == line && panel.toolTip().isEmpty();
        bool fits = whole && shown + kSpare <= panel.width();
        if (language == ConsoleLanguage::Chinese) {
            const bool cut = panel.text().endsWith(QChar(0x2026)) && panel.toolTip() == line &&
                             bar.Panel(0) == line;
            fits = (whole || cut) && shown <= panel.width();
        }
        if (!fits) {
            misfits << QStringLiteral("\"%1\" shown as \"%2\" needs %3 of %4 px")
                           .arg(line, panel.text())
                           .arg(shown)
                           .arg(panel.width());
        }
    }
    return misfits;
}

}  // namespace

class TestStatusLineFit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionsWithTheirResults_data() {
        QTest::addColumn<ConsoleLanguage>("language");
        QTest::addColumn<int>("caption");
        for (const auto& [language, tag] : {std::pair{ConsoleLanguage::English, "en"},
                                            std::pair{ConsoleLanguage::Chinese, "zh"}}) {
            for (int i = 0; i < Captions().size(); ++i) {
                QTest::addRow("%s %s %s", tag, Captions()[i].context, Captions()[i].source)
                    << language << i;
            }
        }
    }
    void captionsWithTheirResults() {
        QFETCH(ConsoleLanguage, language);
        QFETCH(int, caption);
        const ScopedConsoleLanguage scoped(language);
        const Caption& c = Captions()[caption];
        const QString text = QCoreApplication::translate(c.context, c.source);
        QStringList lines;
        for (const int code : ResultsOf(c.answers)) {
            lines << util::CommandResultLine(QTime(23, 59, 59), text,
                                             static_cast<std::uint8_t>(code),
                                             util::TextTable::Display());
        }
        const QStringList misfits = Misfits(language, lines);
        QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(u'\n')));
    }

    void stampedLines_data() {
        QTest::addColumn<ConsoleLanguage>("language");
        QTest::newRow("en") << ConsoleLanguage::English;
        QTest::newRow("zh") << ConsoleLanguage::Chinese;
    }
    void stampedLines() {
        QFETCH(ConsoleLanguage, language);
        const ScopedConsoleLanguage scoped(language);
        QStringList lines;
        for (const QString& text : StampedTexts()) {
            lines << commands::StampedLine(QTime(23, 59, 59), text);
        }
        QVERIFY(lines.size() >= 12);
        const QStringList misfits = Misfits(language, lines);
        QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(u'\n')));
    }

    // The table above holds every caption: the English of a caption, and only of a caption,
    // ends with ": ", so the translation file lists them all.
    void everyCaptionIsMeasured() {
        QFile file(QStringLiteral(TS_FILE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QSet<QString> inFile;
        QString context;
        QString source;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (xml.name() == u"name") {
                context = xml.readElementText();
            } else if (xml.name() == u"source") {
                source = xml.readElementText();
            } else if (xml.name() == u"translation" &&
                       xml.readElementText().endsWith(QStringLiteral(": "))) {
                inFile.insert(context + u'/' + source);
            }
        }
        QVERIFY(!xml.hasError());
        QSet<QString> measured;
        for (const Caption& c : Captions()) {
            measured.insert(QString::fromUtf8(c.context) + u'/' + QString::fromUtf8(c.source));
        }
        QCOMPARE(measured.size(), Captions().size());
        QStringList unmeasured = (inFile - measured).values();
        QStringList notCaptions = (measured - inFile).values();
        unmeasured.sort();
        notCaptions.sort();
        QCOMPARE(unmeasured, QStringList());
        QCOMPARE(notCaptions, QStringList());
    }
};

QTEST_MAIN(TestStatusLineFit)
#include "test_status_line_fit.moc"
