#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm3;
class TfSetdlg;
class TChangeIPdlg;
class TlocateForm;
class TfNhSetDlg;
class TfPhSetDlg;
}  // namespace Ui

namespace forms {

// The six secondary windows, created once at start-up and kept (hidden) for the whole run so
// that their controls keep their contents between uses. Each is its Designer form and nothing
// more; the controllers bind behaviour to the controls through ui().

// "数据": the tag block data view.
class TForm3 final : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;
    Ui::TForm3& ui() { return *ui_; }

private:
    std::unique_ptr<Ui::TForm3> ui_;
};

// "属性设置": network module properties.
class TfSetdlg final : public QDialog {
    Q_OBJECT
public:
    explicit TfSetdlg(QWidget* parent = nullptr);
    ~TfSetdlg() override;
    Ui::TfSetdlg& ui() { return *ui_; }

private:
    std::unique_ptr<Ui::TfSetdlg> ui_;
};

// "修改IP地址": change a module's IP address.
class TChangeIPdlg final : public QDialog {
    Q_OBJECT
public:
    explicit TChangeIPdlg(QWidget* parent = nullptr);
    ~TChangeIPdlg() override;
    Ui::TChangeIPdlg& ui() { return *ui_; }

private:
    std::unique_ptr<Ui::TChangeIPdlg> ui_;
};

// "搜索指定设备": directed module search.
class TlocateForm final : public QDialog {
    Q_OBJECT
public:
    explicit TlocateForm(QWidget* parent = nullptr);
    ~TlocateForm() override;
    Ui::TlocateForm& ui() { return *ui_; }

private:
    std::unique_ptr<Ui::TlocateForm> ui_;
};

// "网络高级选项设置": advanced network options.
class TfNhSetDlg final : public QDialog {
    Q_OBJECT
public:
    explicit TfNhSetDlg(QWidget* parent = nullptr);
    ~TfNhSetDlg() override;
    Ui::TfNhSetDlg& ui() { return *ui_; }

private:
    std::unique_ptr<Ui::TfNhSetDlg> ui_;
};

// "串口高级选项设置": advanced serial options.
class TfPhSetDlg final : public QDialog {
    Q_OBJECT
public:
    explicit TfPhSetDlg(QWidget* parent = nullptr);
    ~TfPhSetDlg() override;
    Ui::TfPhSetDlg& ui() { return *ui_; }

private:
    std::unique_ptr<Ui::TfPhSetDlg> ui_;
};

}  // namespace forms
