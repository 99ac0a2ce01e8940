// The making of the window's controls, in the test's own process: each
// container stacks them in tab order, which is the order Tab visits them in.
#include "layout.h"
#include "part_host.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumbrake::win {
namespace {

using testing::PartHost;

std::vector<int> IdsInZOrder(HWND container) {
    std::vector<int> ids;
    for (HWND child = GetWindow(container, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ids.push_back(GetDlgCtrlID(child));
    return ids;
}

TEST(CreateControls, EachContainerStacksItsControlsInTabOrder_LabelsBeneathTheBoxes) {
    PartHost host;
    ToolTips tips;
    const Fonts fonts = CreateFonts(96);
    const Controls controls = CreateControls(host.get(), GetModuleHandleW(nullptr), 96, fonts, nullptr, tips);
    // Tab indexes 4 to 7, then Frame2 at its first stop's 10, then 20 and 21.
    EXPECT_EQ(IdsInZOrder(host.get()), (std::vector<int>{IDC_OPTION2, IDC_OPTION1, IDC_COMMAND1, IDC_OPTION3, IDC_FRAME2, IDC_PICTURE1, IDC_COMMAND3}));
    // 10 to 19, then the labels by their indexes 1, 2, 3, 8 and 9.
    EXPECT_EQ(IdsInZOrder(controls.Frame2),
              (std::vector<int>{IDC_COMBO1_0, IDC_COMMAND2_0, IDC_COMMAND2_0 + 1, IDC_COMMAND2_0 + 2, IDC_COMMAND2_0 + 3, IDC_COMMAND2_0 + 4,
                                IDC_COMBO1_0 + 1, IDC_COMBO1_0 + 2, IDC_COMBO1_0 + 3, IDC_COMBO1_0 + 4, IDC_LABEL11, IDC_LABEL10, IDC_LABEL9,
                                IDC_LABEL1, IDC_LABEL2}));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(GetDlgCtrlID(controls.Combo1[static_cast<std::size_t>(slot)]), IDC_COMBO1_0 + slot);
        EXPECT_EQ(GetDlgCtrlID(controls.Command2[static_cast<std::size_t>(slot)]), IDC_COMMAND2_0 + slot);
    }
}

}  // namespace
}  // namespace lumbrake::win
