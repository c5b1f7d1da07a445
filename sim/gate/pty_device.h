#pragma once

#include <QString>

namespace sim {

// A pseudo-terminal pair for a simulated serial line. The slave side is put in raw mode (no
// echo, no canonical input, no flow control) and kept open by the simulator, so that a
// program opening and closing the device never hangs the line up. Optionally a symbolic link
// at a chosen path points at the slave device.
class PtyDevice {
public:
    PtyDevice() = default;
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;
    ~PtyDevice() { Close(); }

    bool Open(const QString& link, QString* error);
    void Close();

    // Leaves the symbolic link in place on Close (a new device has taken it over).
    void ForgetLink() { link_.clear(); }

    int Master() const { return master_; }
    QString SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QString link_;
};

}  // namespace sim
