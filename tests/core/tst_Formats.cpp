#include "core/Formats.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace zarnel;

class tst_Formats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { SetRussianLocale(); }

    void formatRiskValue_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "";
        QTest::newRow("seven") << 7.0 << "7,000";
        QTest::newRow("half") << 0.5 << "0,500";
        QTest::newRow("below 5 stays plain") << 4.999 << "4,999";
        QTest::newRow("0.3") << 0.3 << "3,000E-01";
        QTest::newRow("0.4999") << 0.4999 << "4,999E-01";
        QTest::newRow("0.049") << 0.049 << "4,900E-02";
        QTest::newRow("1.25E-5") << 1.25e-5 << "1,250E-05";
        QTest::newRow("9E-6 keeps mantissa below 1") << 9e-6 << "0,900E-05";
        QTest::newRow("mantissa reaches 5000") << 4.99996e-5 << "5,000E-05";
        QTest::newRow("1E-9 two digits") << 1e-9 << "1,000E-09";
        QTest::newRow("5E-10 mantissa below 1") << 5e-10 << "0,500E-09";
        QTest::newRow("1E-10 no leading zero") << 1e-10 << "1,000E-10";
        QTest::newRow("3E-12") << 3e-12 << "3,000E-12";
        QTest::newRow("large stays plain") << 12345.678 << "12345,678";
        QTest::newRow("collective risk") << 1.6e-4 << "1,600E-04";
        QTest::newRow("tiny") << 1e-300 << "1,000E-300";
    }
    void formatRiskValue()
    {
        QFETCH(double, x);
        QFETCH(QString, text);
        QCOMPARE(FormatRiskValue(x), text);
    }

    void formatRiskValueNeverLoops_data()
    {
        QTest::addColumn<double>("x");
        QTest::newRow("negative") << -1e-4;
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("+inf") << std::numeric_limits<double>::infinity();
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
    }
    void formatRiskValueNeverLoops()
    {
        QFETCH(double, x);
        QVERIFY(!FormatRiskValue(x).isEmpty());
    }

    void plainNumber_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 8.0 << "8";
        QTest::newRow("tenth") << 0.1 << "0,1";
        QTest::newRow("one decimal") << 1.8 << "1,8";
        QTest::newRow("five digits") << 12345.0 << "12345";
        QTest::newRow("smallest plain") << 0.0001 << "0,0001";
        QTest::newRow("below 0,0001: exponent") << 0.00001 << "1E-05";
        QTest::newRow("two decimals") << 40.04 << "40,04";
        QTest::newRow("negative") << -2.0 << "-2";
        QTest::newRow("large: exponent") << 1e20 << "1E+20";
        // Upper X box of a damage polygon: largest + largest * 0,001 carries a binary tail beyond 15 digits.
        QTest::newRow("1,1 + 1,1 * 0,001") << 1.1 + 1.1 * 0.001 << "1,1011";
        QTest::newRow("9,999 + 9,999 * 0,001") << 9.999 + 9.999 * 0.001 << "10,008999";
        QTest::newRow("negative with a tail") << -(1.1 + 1.1 * 0.001) << "-1,1011";
        QTest::newRow("0,1 + 0,2") << 0.1 + 0.2 << "0,3";
        QTest::newRow("a third: 15 digits") << 1.0 / 3 << "0,333333333333333";
        QTest::newRow("two thirds rounds the 15th digit") << 2.0 / 3 << "0,666666666666667";
        QTest::newRow("16 digits before the separator") << 123456789012345.6 << "123456789012346";
        QTest::newRow("rounding reaches 1E+15") << 999999999999999.9 << "1E+15";
        QTest::newRow("rounding reaches 0,0001") << 9.999999999999999e-5 << "0,0001";
        QTest::newRow("exponent form rounded too") << 1.1e-5 * 3 << "3,3E-05";
        QTest::newRow("largest damage bound") << 1e9 + 1e9 * 0.001 << "1001000000";
    }

    void plainNumber()
    {
        QFETCH(double, x);
        QFETCH(QString, text);
        QCOMPARE(PlainNumber(x), text);
        // What the boxes show reads back as the same number to 15 digits.
        const std::optional<double> back = ToDouble(text);
        QVERIFY(back);
        QVERIFY(std::fabs(*back - x) <= 5e-15 * std::fabs(x));
    }

    void numberTexts()
    {
        QCOMPARE(Format000(0.5), QStringLiteral("0,500"));
        QCOMPARE(Format000(40), QStringLiteral("40,000"));
        QCOMPARE(Format0000(0.5), QStringLiteral("0,5000"));
        QCOMPARE(SqlNumberText(Format0000(0.5)), QStringLiteral("0.5000"));
        QCOMPARE(SqlNumberText(QStringLiteral("1,2,3")), QStringLiteral("1.2.3"));
        QCOMPARE(SqlNumberText(PlainNumber(12)), QStringLiteral("12"));
    }

    void toDouble_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "0,255" << true << 0.255;
        QTest::newRow("dot accepted") << "0.255" << true << 0.255;
        QTest::newRow("blanks") << "  12 " << true << 12.0;
        QTest::newRow("exponent") << "1E-05" << true << 1e-5;
        QTest::newRow("negative") << "-3" << true << -3.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("letters") << "абв" << false << 0.0;
        QTest::newRow("two separators") << "1,2,3" << false << 0.0;
    }
    void toDouble()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        const auto v = ToDouble(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(*v, value);
    }

    void toInt16_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("half to even down") << "2,5" << true << 2;
        QTest::newRow("half to even up") << "3,5" << true << 4;
        QTest::newRow("0,4") << "0,4" << true << 0;
        QTest::newRow("-0,5") << "-0,5" << true << 0;
        QTest::newRow("max") << "32767" << true << 32767;
        QTest::newRow("min") << "-32768" << true << -32768;
        QTest::newRow("overflow") << "32768" << false << 0;
        QTest::newRow("32767,5 rounds out of range") << "32767,5" << false << 0;
        QTest::newRow("underflow") << "-32769" << false << 0;
        QTest::newRow("not a number") << "двести" << false << 0;
    }
    void toInt16()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto v = ToInt16(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(int(*v), value);
    }
};

QTEST_GUILESS_MAIN(tst_Formats)
#include "tst_Formats.moc"
