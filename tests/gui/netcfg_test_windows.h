#pragma once

// Stand-ins for the module page and its four dialogs with the controls the netcfg controllers
// bind by object name (the same kinds as the Designer forms).
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <vector>

struct NetcfgTestWindows {
    NetcfgTestWindows() {
        main.setObjectName(QStringLiteral("Form1"));
        auto* page = new QWidget(&main);
        page->setObjectName(QStringLiteral("TabSheet6"));
        main.setCentralWidget(page);
        auto* table = Add<QTableWidget>(*page, "ListView1");
        table->setColumnCount(4);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        for (const char* b : {"Button20", "Button21", "Button22", "Button23", "Button24"}) {
            Add<QPushButton>(*page, b);
        }
        for (QDialog* d : {&locate, &changeIp}) {
            auto* entry = Add<QLineEdit>(*d, "MaskEdit1");
            entry->setInputMask(QStringLiteral("000.000.000.000; "));
            entry->setText(QStringLiteral("   .   .   .   "));
            Add<QPushButton>(*d, "Button1");
            Add<QPushButton>(*d, "Button2");
        }
        for (int i = 1; i <= 9; ++i) {
            auto* e = Add<QLineEdit>(properties, QStringLiteral("Edit%1").arg(i).toLatin1());
            e->setReadOnly(i == 6 || i == 8 || i == 9);
        }
        const std::vector<std::vector<const char*>> items{
            {"UDP", "TCP"},
            {"服务器", "客户端"},
            {"1200bps", "2400bps", "4800bps", "9600bps", "19200bps", "38400bps", "57600bps",
             "115200bps", "150bps", "300bps", "600bps", "28800bps"},
            {"None", "Even", "Odd", "Mark", "Space"},
            {"7bits", "8bits"},
            {"禁用", "使用"},
            {"禁用", "使用"}};
        for (std::size_t i = 0; i < items.size(); ++i) {
            auto* box = Add<QComboBox>(properties, "ComboBox" + QByteArray::number(i + 1));
            for (const char* item : items[i]) {
                box->addItem(QString::fromUtf8(item));
            }
        }
        for (const char* b : {"Button1", "Button2", "Button3", "Button4"}) {
            Add<QPushButton>(properties, b);
        }
        Add<QComboBox>(networkAdvanced, "ComboBox1")
            ->addItems({QStringLiteral("立即连接"), QStringLiteral("有数据才连接")});
        Add<QComboBox>(networkAdvanced, "ComboBox2");
        Add<QLineEdit>(serialAdvanced, "Edit1");
        Add<QLineEdit>(serialAdvanced, "Edit2");
        Add<QComboBox>(serialAdvanced, "ComboBox1")
            ->addItems({QStringLiteral("禁用"), QStringLiteral("使用")});
        for (QDialog* d : {&networkAdvanced, &serialAdvanced}) {
            Add<QPushButton>(*d, "Button1");
            Add<QPushButton>(*d, "Button2");
        }
    }

    template <typename T>
    T* Add(QWidget& parent, const QByteArray& name) {
        if (!parent.layout()) {
            new QVBoxLayout(&parent);
        }
        auto* w = new T(&parent);
        w->setObjectName(QString::fromLatin1(name));
        parent.layout()->addWidget(w);
        return w;
    }

    QMainWindow main;
    QDialog locate;
    QDialog properties;
    QDialog networkAdvanced;
    QDialog serialAdvanced;
    QDialog changeIp;
};
