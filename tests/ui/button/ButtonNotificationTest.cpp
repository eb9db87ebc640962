// The host hears of every stored property the designer changes, and only of those: the button's
// own enabled state under a disabled container, the pointer a mouse icon sets, a font style set
// again, and a font that stays the button's own when the container's changes.
#include "ButtonTestSupport.h"

using namespace ktv;
using namespace ktv::test;

class ButtonNotification : public DesignerForm {};

TEST_F(ButtonNotification, EnabledSetWhileTheContainerIsDisabledIsAChange)
{
    QWidget frame(&form);
    auto* b = place(&frame);
    frame.setEnabled(false);
    host.clearRecords();
    b->setEnabled(false);
    EXPECT_EQ(host.changesOf(b), QStringList{"Enabled"});
    EXPECT_FALSE(b->Enabled());
    frame.setEnabled(true);
    EXPECT_FALSE(b->isEnabled()) << "the button stays disabled by its own setting";
    EXPECT_FALSE(host.save(*b).ReadProperty(QStringLiteral("Enabled"), true).toBool());
    b->setEnabled(true);
    EXPECT_EQ(host.changesOf(b), (QStringList{"Enabled", "Enabled"}));
}

TEST_F(ButtonNotification, AMouseIconThatSetsThePointerReportsThePointerToo)
{
    auto* b = place();
    host.clearRecords();
    b->setMouseIcon(ButtonPicture::iconPicture(filledImage(16, 16, qRgb(1, 2, 3))));
    EXPECT_EQ(host.changesOf(b), (QStringList{"mIcon", "mPointer"}));
    host.clearRecords();
    b->setMouseIcon(ButtonPicture::iconPicture(filledImage(16, 16, qRgb(4, 5, 6))));
    EXPECT_EQ(host.changesOf(b), QStringList{"mIcon"}) << "the pointer was 99 already";
}

TEST_F(ButtonNotification, FontStyleSetAgainIsReportedAndDrawsNothingNew)
{
    auto* b = place();
    b->setFontStyle(2);
    host.clearRecords();
    const int refreshes = host.refreshCount(b);
    b->setFontStyle(2);
    EXPECT_EQ(host.changesOf(b), QStringList{"Font"});
    EXPECT_EQ(host.refreshCount(b), refreshes);
    EXPECT_EQ(b->FontStyle(), 2);
}

TEST_F(ButtonNotification, TheFontIsASnapshotTakenWhenTheButtonIsPlaced)
{
    QWidget frame(&form);
    QFont ambient(QStringLiteral("DejaVu Sans"));
    ambient.setPixelSize(11);
    frame.setFont(ambient);
    auto* b = place(&frame);
    EXPECT_EQ(b->Font().pixelSize(), 11);
    host.clearRecords();
    QFont later(QStringLiteral("DejaVu Serif"));
    later.setPixelSize(23);
    later.setBold(true);
    frame.setFont(later);
    EXPECT_EQ(b->Font().pixelSize(), 11);
    EXPECT_EQ(b->Font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(b->FontStyle(), 0);
    EXPECT_TRUE(host.changesOf(b).isEmpty());

    // A loaded button keeps the stored font the same way.
    auto* loaded = new qvButtons_H(&frame, &host);
    host.load(*loaded, host.save(*b));
    frame.setFont(ambient);
    EXPECT_EQ(loaded->Font().pixelSize(), 11);
    frame.setFont(later);
    EXPECT_EQ(loaded->Font().pixelSize(), 11);
}
