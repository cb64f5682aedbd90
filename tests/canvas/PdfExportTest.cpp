// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Pages for printing and the PDF: the tiles and placements of pictures on paper, and the PDF
// as poppler reads it (its page size, its embedded picture and the page rendered again).
#include "PdfExport.h"
#include "PagePlan.h"
#include "TarvelError.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct PlanCase {
    const char* what;
    QSize pixels;
    int dpi;
    bool fit;
    bool landscape;
    int columns, rows;
    QRect lastSource;  // of the last tile
    QRectF lastTarget; // millimetres
};
void PrintTo(const PlanCase& c, std::ostream* out) {
    *out << c.what;
}

class PagePlanTest : public ::testing::TestWithParam<PlanCase> {};

// A4 with 10 mm margins: a free area of 190 x 277 mm upright.
TEST_P(PagePlanTest, TilesCoverThePictureOnce) {
    const PlanCase c = GetParam();
    const PagePlan plan = planPages(c.pixels, c.dpi, QSizeF(210, 297), 10, c.fit);
    EXPECT_EQ(plan.landscape, c.landscape);
    EXPECT_EQ(plan.paper, c.landscape ? QSizeF(297, 210) : QSizeF(210, 297));
    EXPECT_EQ(plan.columns, c.columns);
    EXPECT_EQ(plan.rows, c.rows);
    ASSERT_EQ(plan.tiles.size(), size_t(c.columns * c.rows));
    EXPECT_EQ(plan.tiles.back().source, c.lastSource);
    EXPECT_NEAR(plan.tiles.back().target.x(), c.lastTarget.x(), 0.01);
    EXPECT_NEAR(plan.tiles.back().target.y(), c.lastTarget.y(), 0.01);
    EXPECT_NEAR(plan.tiles.back().target.width(), c.lastTarget.width(), 0.01);
    EXPECT_NEAR(plan.tiles.back().target.height(), c.lastTarget.height(), 0.01);
    // Every pixel on one page, and every page within the margins; at its own size a pixel is
    // 25.4 / dpi millimetres on every page.
    qint64 covered = 0;
    for (const PageTile& tile : plan.tiles) {
        covered += qint64(tile.source.width()) * tile.source.height();
        for (const PageTile& other : plan.tiles)
            if (&other != &tile)
                EXPECT_FALSE(tile.source.intersects(other.source));
        EXPECT_TRUE(QRectF(9.999, 9.999, plan.paper.width() - 19.998, plan.paper.height() - 19.998)
                        .contains(tile.target));
        if (!c.fit)
            EXPECT_NEAR(tile.target.width(), tile.source.width() * 25.4 / c.dpi, 1e-6);
    }
    EXPECT_EQ(covered, qint64(c.pixels.width()) * c.pixels.height());
}

INSTANTIATE_TEST_SUITE_P(A4, PagePlanTest,
                         ::testing::Values(
                             // A couplet at 150 dpi (288 x 672 mm): 1122 x 1635 pixels a page.
                             PlanCase{"couplet",
                                      {1701, 3969},
                                      150,
                                      false,
                                      false,
                                      2,
                                      3,
                                      {1122, 3270, 579, 699},
                                      {10, 10, 579 * 25.4 / 150, 699 * 25.4 / 150}},
                             // Fitted: 277 mm high, centred across.
                             PlanCase{
                                 "couplet fitted",
                                 {1701, 3969},
                                 150,
                                 true,
                                 false,
                                 1,
                                 1,
                                 {0, 0, 1701, 3969},
                                 {105 - 1701 * 277.0 / 3969 / 2, 10, 1701 * 277.0 / 3969, 277}},
                             // A 66 x 33 cm fan at 96 dpi on landscape pages of 277 x 190 mm.
                             PlanCase{"fan",
                                      {2494, 1247},
                                      96,
                                      false,
                                      true,
                                      3,
                                      2,
                                      {2092, 718, 402, 529},
                                      {10, 10, 402 * 25.4 / 96, 529 * 25.4 / 96}},
                             // A small picture that fits is centred on the turned page.
                             PlanCase{"small",
                                      {200, 100},
                                      96,
                                      false,
                                      true,
                                      1,
                                      1,
                                      {0, 0, 200, 100},
                                      {148.5 - 200 * 25.4 / 96 / 2, 105 - 100 * 25.4 / 96 / 2,
                                       200 * 25.4 / 96, 100 * 25.4 / 96}}));

// A picture of stripes and a gradient, so a shifted, scaled or JPEG-compressed page shows.
QImage testPicture() {
    QImage picture(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, (x / 3) % 2 ? qRgb(x * 255 / 300, y, 40) : qRgb(250, 250, 250));
    return picture;
}

struct Poppler : ::testing::Test {
    void SetUp() override {
        for (const char* tool : {"pdfinfo", "pdftoppm", "pdfimages"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                GTEST_SKIP() << tool << " (poppler-utils) is not installed";
    }
    QString run(const QString& tool, const QStringList& arguments) {
        QProcess process;
        process.start(tool, arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << tool.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    // "Page size:      144 x 96 pts" as two numbers.
    QSizeF pageSize(const QString& pdf) {
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"))
                .match(run(QStringLiteral("pdfinfo"), {pdf}));
        EXPECT_TRUE(match.hasMatch());
        return QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble());
    }
    QTemporaryDir folder;
};

TEST_F(Poppler, APdfIsThePictureAtItsPrintedSize) {
    const QImage picture = testPicture();
    const QString pdf = folder.filePath(QStringLiteral("work.pdf"));
    exportPdf(picture, pdf, {QStringLiteral("春江花月夜"), QString(), 150});
    // 2 x 1.33 inches: 5.08 x 3.39 cm.
    const QSizeF page = pageSize(pdf);
    EXPECT_NEAR(page.width(), 144, 0.5);
    EXPECT_NEAR(page.height(), 96, 0.5);
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("春江花月夜")));
    // The picture is embedded whole and without JPEG's losses.
    const QString images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\\s300\\s+200\\s+rgb\\s+3\\s+8\\s+image"))
                    .match(images)
                    .hasMatch())
        << images.toStdString();
    // The embedded picture is the picture, pixel for pixel.
    run(QStringLiteral("pdfimages"),
        {QStringLiteral("-png"), pdf, folder.filePath(QStringLiteral("embedded"))});
    EXPECT_EQ(QImage(folder.filePath(QStringLiteral("embedded-000.png")))
                  .convertToFormat(QImage::Format_RGB32),
              picture);
    // Rendered at the picture's resolution the page is the picture where it lies: poppler
    // resamples the picture by a fraction of a pixel, so each pixel is held to the range of
    // the picture's pixels around it.
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), pdf, folder.filePath(QStringLiteral("page"))});
    const QImage rendered =
        QImage(folder.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rendered.size(), picture.size());
    int outside = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            for (int shift : {16, 8, 0}) {
                int low = 255, high = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QPoint p(std::clamp(x + dx, 0, picture.width() - 1),
                                       std::clamp(y + dy, 0, picture.height() - 1));
                        const int v = int(picture.pixel(p) >> shift) & 0xFF;
                        low = std::min(low, v), high = std::max(high, v);
                    }
                const int v = int(rendered.pixel(x, y) >> shift) & 0xFF;
                outside += v < low - 4 || v > high + 4;
            }
    EXPECT_EQ(outside, 0);
}

TEST_F(Poppler, AFittedPdfIsTheTurnedPaperWithThePictureCentred) {
    const QString pdf = folder.filePath(QStringLiteral("fitted.pdf"));
    exportPdf(testPicture(), pdf, {QStringLiteral("fan"), QStringLiteral("A4"), 150});
    const QSizeF page = pageSize(pdf);
    EXPECT_NEAR(page.width(), 841.9, 0.6); // A4 turned for a picture wider than high
    EXPECT_NEAR(page.height(), 595.3, 0.6);
    // At 10 dpi the page is 117 x 83 pixels; the picture fills its width and 78 rows
    // centred, leaving white above and below.
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("10"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), pdf, folder.filePath(QStringLiteral("small"))});
    const QImage small = QImage(folder.filePath(QStringLiteral("small.png")));
    ASSERT_EQ(small.size(), QSize(117, 83));
    EXPECT_EQ(small.pixel(58, 1), qRgb(255, 255, 255));
    EXPECT_EQ(small.pixel(58, 81), qRgb(255, 255, 255));
    EXPECT_NE(small.pixel(58, 41), qRgb(255, 255, 255));
    EXPECT_NE(small.pixel(58, 4), qRgb(255, 255, 255));

    EXPECT_THROW(exportPdf(QImage(), pdf, {}), TarvelError);
    EXPECT_THROW(
        exportPdf(testPicture(), folder.filePath(QStringLiteral("no/such/folder.pdf")), {}),
        TarvelError);
}

} // namespace
