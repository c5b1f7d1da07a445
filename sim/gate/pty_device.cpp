#include "pty_device.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

QString SystemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

bool PtyDevice::Open(const QString& link, QString* error) {
    auto fail = [&](const QString& why) {
        Close();
        if (error) {
            *error = why;
        }
        return false;
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        return fail(SystemError("posix_openpt"));
    }
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        return fail(SystemError("grantpt/unlockpt"));
    }
    const char* name = ptsname(master_);
    if (name == nullptr) {
        return fail(SystemError("ptsname"));
    }
    slavePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ < 0) {
        return fail(SystemError("open pty slave"));
    }
    termios tio{};
    if (tcgetattr(slave_, &tio) == 0) {
        cfmakeraw(&tio);
        tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
        tcsetattr(slave_, TCSANOW, &tio);
    }
    const int flags = fcntl(master_, F_GETFL);
    fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    if (!link.isEmpty()) {
        const QFileInfo info(link);
        // Replace an old link, never a real file.
        if (info.isSymLink()) {
            QFile::remove(link);
        } else if (info.exists()) {
            return fail(QStringLiteral("%1 exists and is not a symbolic link").arg(link));
        }
        if (::symlink(name, QFile::encodeName(link).constData()) != 0) {
            return fail(SystemError("symlink"));
        }
        link_ = link;
    }
    return true;
}

void PtyDevice::Close() {
    if (!link_.isEmpty()) {
        QFile::remove(link_);
        link_.clear();
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    slavePath_.clear();
}

}  // namespace sim
