#pragma once

#include <QObject>

#include <array>
#include <cstdint>

class QAbstractButton;

namespace Ui {
class PageChannel;
class PageEas;
}  // namespace Ui

namespace monitor {

// The start and stop buttons of the two monitoring pages: "IF1开始获取" (Button_C_Get) and
// "IF1停止获取" (StopGet) of channel-management mode, "开始获取" (Button13) and "停止获取"
// (Button14) of EAS mode. This is the one place that enables or disables them: the connection,
// a mode switch, a page change and the polls' own buttons say what happened, and each event
// has its rule here. (The record export locks them for its duration and puts them back as they
// were.)
class MonitorButtons final : public QObject {
    Q_OBJECT
public:
    MonitorButtons(Ui::PageChannel& channel, Ui::PageEas& eas, QObject* parent = nullptr);

    // The four buttons, channel start and stop, then EAS start and stop.
    std::array<QAbstractButton*, 4> Buttons() const;

public Q_SLOTS:
    // An open's mode query came back (whatever its result): mode 0 enables "IF1开始获取"; mode
    // 1, or a mode with bit 1 set (EAS forced by the controller), enables "开始获取". Nothing is
    // disabled.
    void ModeRead(std::uint8_t mode);
    // The window took its disconnected look (start-up, every close): all four disabled.
    void DisableAll();
    // The mode is known (a mode switch, a page change while connected): mode 0 enables
    // "IF1开始获取" and disables the other three; mode 1 enables "开始获取" and disables the other
    // three; any other value changes no button.
    void ShowMode(std::uint8_t mode);
    // A start or stop button of a mode was pressed: it and its partner swap their states.
    void InvertChannel();
    void InvertEas();

private:
    QAbstractButton& startChannel_;
    QAbstractButton& stopChannel_;
    QAbstractButton& startEas_;
    QAbstractButton& stopEas_;
};

}  // namespace monitor
