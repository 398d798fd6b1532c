#pragma once

#include <QByteArrayView>
#include <QString>

// Bytes from a file as text: UTF-8 where the bytes form UTF-8, and every byte that does
// not taken as Windows-1252, the code page of the suite's older files, so no byte is
// lost or replaced. A leading byte-order mark is dropped.
QString decodeText(QByteArrayView bytes);
