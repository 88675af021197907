#pragma once

#include <QByteArray>

// A .sol file around a body of values: its header with the save's name and
// the AMF version, the length field counting everything after it.
inline QByteArray solFile(const QByteArray& name, int version, const QByteArray& body) {
    QByteArray rest = "TCSO" + QByteArray("\x00\x04\x00\x00\x00\x00", 6);
    rest += char(name.size() >> 8);
    rest += char(name.size() & 0xFF);
    rest += name + QByteArray("\x00\x00\x00", 3) + char(version) + body;
    QByteArray file("\x00\xBF", 2);
    for (int shift = 24; shift >= 0; shift -= 8)
        file += char((rest.size() >> shift) & 0xFF);
    return file + rest;
}

// A save as the engine writes one: AMF 3, "runs" = the number given (below 64).
inline QByteArray engineSave(const QByteArray& name, int runs) {
    return solFile(name, 3, QByteArray("\x09runs\x04", 6) + char(runs) + QByteArray(1, '\0'));
}
