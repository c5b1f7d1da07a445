#pragma once

#include <QByteArray>
#include <QList>

// The stored records behind golden/export_every_kind.{txt,csv,jsonl}, in index order: every
// kind with a line, the special passages, a failed retrieval, an empty and an unknown record.
struct GoldenRecord {
    int kind;
    QByteArray body;
    int result;  // of RetrieveRecordByIndex: 48 for the one that fails
};

inline QByteArray GoldenBody(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

inline QList<GoldenRecord> GoldenRecords() {
    const QByteArray uid = GoldenBody({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});
    const QByteArray ff(8, '\xFF');
    const QByteArray t20 = GoldenBody({20, 1, 2, 3, 4, 5});
    return {
        {0, uid + GoldenBody({2, 12, 5, 6, 9, 8, 7}), 0},
        {3, GoldenBody({12, 5, 6, 9, 8, 7}), 0},
        {0, QByteArray(8, '\0') + GoldenBody({1}) + t20, 0},
        {0, ff + GoldenBody({3}) + t20, 0},
        {0, GoldenBody({0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 4}) + t20, 0},
        {1, GoldenBody({0x2C, 0x01, 2, 0, 0, 0, 0xFF, 0xFF, 21, 12, 31, 23, 59, 58}), 0},
        {2, GoldenBody({0xE0, 0x04, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78, 22, 2, 3, 4, 5, 6}), 0},
        {4, GoldenBody({23, 7, 8, 9, 10, 11}), 0},
        {0, uid + GoldenBody({1}) + t20, 48},       // failed retrieval
        {0, QByteArray(), 0},                       // length 0
        {5, GoldenBody({23, 7, 8, 9, 10, 11}), 0},  // unknown kind
        {8, GoldenBody({24, 1, 1, 0, 0, 0, 24, 1, 1, 8, 30, 0}), 0},
        {0, uid + GoldenBody({0}) + t20, 0},
        {0, GoldenBody({0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x00, 0x11, 9}) + t20, 0},
    };
}
