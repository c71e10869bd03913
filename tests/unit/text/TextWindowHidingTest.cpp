// Which commands take the text window off the screen, and when the erase flag holds it there.
#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::kPrologue;

TEST(TextWindowHiding, PictureCommandsHonourTheEraseFlagTextoffDoesNot) {
    struct Case {
        const char* command;
        bool always; // hides even under erasetextwindow 0
    };
    for (const Case& c : {Case{"bg white,1", false}, Case{"cl a,1", false}, Case{"print 1", false},
                          Case{"textmode 1", false}, Case{"textoff", true}}) {
        for (int eraseFlag : {0, 1}) {
            Harness h;
            h.scenario(std::string(kPrologue) + "erasetextwindow " + std::to_string(eraseFlag) +
                       "\nあ\n" + c.command + "\nend\n");
            ASSERT_EQ(h.run(), 0) << c.command << "\n" << h.log();
            const bool hidden = c.always || eraseFlag == 1;
            EXPECT_EQ(h.engine().text.window.shown, !hidden)
                << c.command << " under erasetextwindow " << eraseFlag;
        }
    }
}
