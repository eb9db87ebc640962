// The run's progress bar on the real form: the run's count steps by one for every record while
// the bar is told it (and a screen reader hears it) and repainted at most once per screen
// frame, and it paints normally after.
#include "WizardFixture.h"

#include "convert/SourceSchema.h"
#include "data/Dao.h"
#include "data/Schema.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>

#include <filesystem>

namespace fs = std::filesystem;

namespace ktv::test {
namespace {

struct PaintCounter final : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class ProgressBarTest : public WizardTest {
protected:
    // A source with vehicles only, written in one transaction-free pass like the sample tool.
    std::string makeVehicles(int vehicles)
    {
        const std::string folder = (dir.path() / "kaynak").string();
        fs::create_directories(folder);
        const std::string path = folder + "/arac.ktd";
        dao::CreateDatabase(path, kSourceTablesSchema, "7183");
        auto db = dao::Database::OpenDatabase(path, false, false, ";pwd=7183");
        auto rs = db->OpenRecordset("AracKarti", dao::RecordsetType::Dynaset);
        for (int i = 1; i <= vehicles; ++i) {
            rs->AddNew();
            rs->SetField("Kod", Value("A" + std::to_string(i)));
            rs->Update();
        }
        rs->Close();
        db->Close();
        return folder;
    }
};

TEST_F(ProgressBarTest, CountStepsPerRecordWhileTheBarKeepsToTheFrameRate)
{
    constexpr int kRecords = 400;
    const std::string folder = makeVehicles(kRecords);
    open();
    c().Cbo_KtdPvd->setCurrentIndex(0);
    c().Txt_Klasor->setText(QString::fromStdString(folder));
    c().Txt_SecilenDosya->setText(QStringLiteral("arac.ktd"));
    click(c().Cmd_Ileri); // the bar lies on page 2
    ASSERT_TRUE(c().Fra_2->isVisible());
    c().Cbo_FirmaKodu->setCurrentIndex(0);
    c().Txt_FirmaAdi->setText(QStringLiteral("Bir"));
    c().Cbo_VedazYili->setCurrentIndex(5);
    QProgressBar* bar = c().PrgBar1;
    // Every value the bar is told is also announced to the accessibility bridge.
    QSignalSpy values(bar, &QProgressBar::valueChanged);
    PaintCounter counter;
    bar->installEventFilter(&counter);
    // What the bar shows when it is painted during the run: its own settings, no text.
    int paintsWithText = 0;
    struct TextWatch final : QObject {
        QProgressBar* bar;
        int* withText;
        TextWatch(QProgressBar* b, int* w) : bar(b), withText(w) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint && bar->isTextVisible())
                ++*withText;
            return false;
        }
    } watch(bar, &paintsWithText);
    bar->installEventFilter(&watch);
    boxes.answer(MsgAnswer::Yes); // confirmation
    boxes.answer(MsgAnswer::Ok);  // completion
    QElapsedTimer clock;
    clock.start();
    form->runHandler(&Frm_Vedaz::Cmd_CevrimYap_Click);
    const double elapsedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    bar->removeEventFilter(&counter);
    bar->removeEventFilter(&watch);
    EXPECT_EQ(paintsWithText, 0);

    // The count stepped by one for every record (the run reads it back to add one), so the
    // bar ends on the table's count; the values it was told on the way only rise.
    EXPECT_EQ(bar->value(), kRecords);
    ASSERT_GE(values.count(), 1);
    EXPECT_EQ(values.back().at(0).toInt(), kRecords);
    for (int i = 1; i < values.count(); ++i)
        EXPECT_LT(values[i - 1].at(0).toInt(), values[i].at(0).toInt());
    // At most one paint, and one value told, per frame of the screen while it moves, plus the
    // showing and the full bar at the table's end; a bar told every value announces hundreds
    // (a screen reader heard each), and one painted whenever it grew a chunk paints dozens of
    // times in that time.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double frameMs = 1000.0 / (screen && screen->refreshRate() >= 1.0 ? screen->refreshRate() : 60.0);
    const int frames = static_cast<int>(elapsedMs / frameMs);
    EXPECT_LE(counter.paints, frames + 3) << "in " << elapsedMs << " ms";
    EXPECT_LE(values.count(), frames + 3) << "in " << elapsedMs << " ms";
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(bar->updatesEnabled()) << "the bar paints normally once the run is over";
    EXPECT_FALSE(bar->isTextVisible()) << "the bar shows no text, during the run as after it";
    EXPECT_EQ(bar->format(), QStringLiteral("%p%"));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Çevrim işlemi tamamlandı...");
}

} // namespace
} // namespace ktv::test
