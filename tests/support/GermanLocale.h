#pragma once

#include <QLocale>

#include <gtest/gtest.h>

// Letter case is compared by the rules of the user's locale; tests pin a
// German one so that a Turkish machine ("I" -> dotless "ı") gives the same.
class GermanLocaleTest : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(previous); }

private:
    const QLocale previous;
};
