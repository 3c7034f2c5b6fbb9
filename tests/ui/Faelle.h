#pragma once

#include <QtTest>

// A data table whose cases are the elements of an array of structs: one row
// each, named by the struct's member name, fetched as a whole with
// QFETCH(Fall, fall).
template <typename Fall, std::size_t N>
void Faelle(const Fall (&faelle)[N])
{
    QTest::addColumn<Fall>("fall");
    for (const Fall &f : faelle)
        QTest::newRow(f.name) << f;
}
