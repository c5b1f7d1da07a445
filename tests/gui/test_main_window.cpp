// The main window as the operator sees it: its frame and titles, the order and widths of the
// command page's fields, and the end of the application when it closes.
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <array>

#include "app/main_window.h"
#include "console_window.h"
#include "core/commands/config_values.h"
#include "core/commands/device_values.h"
#include "forms/secondary_windows.h"
#include "gui/status_bar.h"
#include "language_fixture.h"
#include "util/event_text.h"

namespace {

struct Console : testing_support::ConsoleWindow<> {
    Console() : ConsoleWindow(QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7))) {}
};

// The room a line edit leaves for its text: the style's contents rectangle less the text
// margins and the two pixels QLineEdit keeps clear on either side.
int TextRoom(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    return contents.marginsRemoved(edit.textMargins()).width() - 2 * 2;
}

QStringList ForEachByte(const std::function<QString(gate::Byte)>& text) {
    QStringList out;
    for (int b = 0; b <= 255; ++b) {
        out.append(text(static_cast<gate::Byte>(b)));
    }
    return out;
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Client area 818 x 691 with the status bar inside it; the title and the application name
    // as given, with no display name for Qt to append to every title (" — Lintel").
    void frameAndTitles() {
        Console c;
        c.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c.form));
        QCOMPARE(c.form.size(), QSize(818, 691));
        QVERIFY(c.form.rect().contains(c.form.StatusBar().geometry()));
        QCOMPARE(c.form.windowTitle(), QStringLiteral("Lintel V2.3"));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Lintel"));
        // The display name follows the application name only while none is set.
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
        // No page is squeezed below what its controls need.
        for (int i = 0; i < c.form.PageControl1().count(); ++i) {
            QWidget* page = c.form.PageControl1().widget(i);
            c.form.PageControl1().setCurrentIndex(i);
            const QSize needed = page->minimumSizeHint();
            QVERIFY2(needed.width() <= page->width() && needed.height() <= page->height(),
                     qPrintable(QStringLiteral("%1 needs %2 x %3, has %4 x %5")
                                    .arg(page->objectName())
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(page->width())
                                    .arg(page->height())));
        }
    }

    // The LED row sits above the buzzer row.
    void ledRowsAboveBuzzerRows() {
        Console c;
        c.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c.form));
        const auto top = [&c](const char* name) {
            auto* list = c.form.findChild<QComboBox*>(QString::fromLatin1(name));
            return list->mapTo(&c.form, QPoint(0, 0)).y();
        };
        const int lowestLed = std::max({top("ComboBox7"), top("ComboBox4"), top("ComboBox2")});
        const int highestBuzzer = std::min({top("ComboBox6"), top("ComboBox8"), top("ComboBox3")});
        QVERIFY(top("ComboBox7") < top("ComboBox4") && top("ComboBox4") < top("ComboBox2"));
        QVERIFY(lowestLed < highestBuzzer);
    }

    // Every field that shows a fixed text or a value read back shows the longest one whole, at
    // the default font.
    void fieldsShowTheirLongestText_data() {
        QTest::addColumn<app::ConsoleLanguage>("language");
        QTest::addColumn<QByteArray>("window");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QStringList>("texts");
        for (const app::ConsoleLanguage language :
             {app::ConsoleLanguage::Chinese, app::ConsoleLanguage::English}) {
            const ScopedConsoleLanguage scoped(language);
            const char* tag = language == app::ConsoleLanguage::English ? "en" : "zh";
            const QStringList hexPairs = ForEachByte(commands::ProductCodeText);
            QTest::addRow("%s product code", tag)
                << language << QByteArray() << QByteArray("Edit17") << hexPairs;
            QStringList versions;
            for (int major = 0; major <= 99; ++major) {
                versions.append(commands::VersionText(static_cast<gate::Byte>(major),
                                                      static_cast<gate::Byte>(major)));
            }
            QTest::addRow("%s version", tag)
                << language << QByteArray() << QByteArray("Edit18") << versions;
            QTest::addRow("%s serial number", tag)
                << language << QByteArray() << QByteArray("Edit19")
                << ForEachByte([](gate::Byte b) {
                       return commands::SerialNumberText({b, b, b, b});
                   });
            QTest::addRow("%s infrared state", tag)
                << language << QByteArray() << QByteArray("IRStatus")
                << ForEachByte(commands::InfraredStateText);
            QTest::addRow("%s reader link", tag)
                << language << QByteArray() << QByteArray("edtConnectStatus")
                << ForEachByte([](gate::Byte b) {
                       return commands::ReaderStatusText(b, 0, util::TextTable::Display())
                           .connection;
                   });
            QTest::addRow("%s RF field", tag)
                << language << QByteArray() << QByteArray("edtANTStatus")
                << ForEachByte([](gate::Byte b) {
                       return commands::ReaderStatusText(1, b, util::TextTable::Display()).rfField;
                   });
            QTest::addRow("%s century", tag) << language << QByteArray() << QByteArray("Edit8")
                                             << QStringList{QStringLiteral("20")};
            QStringList twoDigits;
            for (int v = 0; v <= 99; ++v) {
                twoDigits.append(commands::ClockTexts(gate::Clock6{static_cast<gate::Byte>(v)})[0]);
            }
            for (const char* name : {"Edit_year", "Edit_Month", "Edit_date", "Edit_Hour",
                                     "Edit_minute", "Edit_Sedcond"}) {
                QTest::addRow("%s clock %s", tag, name)
                    << language << QByteArray() << QByteArray(name) << twoDigits;
            }
            QTest::addRow("%s current address", tag)
                << language << QByteArray() << QByteArray("Edit4")
                << ForEachByte(commands::AddressText);
            QTest::addRow("%s record count", tag)
                << language << QByteArray() << QByteArray("Edit20")
                << QStringList{QStringLiteral("2147483647")};
            const QStringList times = ForEachByte([](gate::Byte b) {
                const std::array<std::uint8_t, 6> clock{
                    std::min<std::uint8_t>(b, 99), 12, 28, 23, 59, 59};
                return util::EventTimeText(clock.data());
            });
            QTest::addRow("%s earliest record", tag)
                << language << QByteArray() << QByteArray("Edit21") << times;
            QTest::addRow("%s latest record", tag)
                << language << QByteArray() << QByteArray("Edit22") << times;
            QStringList macs;
            for (const char* digit : {"0", "8", "A", "B", "D", "E", "F"}) {
                macs.append(QStringList(6, QString::fromLatin1(digit).repeated(2)).join(u'-'));
            }
            QTest::addRow("%s module MAC", tag)
                << language << QByteArray("fSetdlg") << QByteArray("Edit3") << macs;
            for (const char* name : {"Edit6", "Edit8", "Edit9"}) {
                QTest::addRow("%s module address %s", tag, name)
                    << language << QByteArray("fSetdlg") << QByteArray(name)
                    << QStringList{QStringLiteral("255.255.255.255"),
                                   QStringLiteral("000.000.000.000")};
            }
        }
    }
    void fieldsShowTheirLongestText() {
        QFETCH(app::ConsoleLanguage, language);
        QFETCH(QByteArray, window);
        QFETCH(QByteArray, field);
        QFETCH(QStringList, texts);
        const ScopedConsoleLanguage scoped(language);
        Console c;
        QWidget* shown = window.isEmpty() ? static_cast<QWidget*>(&c.form) : &c.form.fSetdlg();
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        auto* edit = shown->findChild<QLineEdit*>(QString::fromLatin1(field));
        QVERIFY(edit != nullptr);
        const int room = TextRoom(*edit);
        for (const QString& text : texts) {
            const int needed = edit->fontMetrics().horizontalAdvance(text);
            QVERIFY2(needed <= room, qPrintable(QStringLiteral("\"%1\" needs %2 px, %3 has %4")
                                                    .arg(text)
                                                    .arg(needed)
                                                    .arg(QString::fromLatin1(field))
                                                    .arg(room)));
        }
    }

    // Closing the main window ends the application even while a secondary window is open.
    void closingTheMainWindowEndsTheApplication() {
        Console c;
        c.form.show();
        c.form.Form3().show();
        QTimer::singleShot(0, &c.form, [&c] { c.form.close(); });
        QTimer::singleShot(5000, &c.form, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!c.form.Form3().isVisible());
        QVERIFY(c.form.Fields().CloseRequested);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
