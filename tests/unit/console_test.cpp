// Console output folding and the scripted front-end port.
#include <gtest/gtest.h>

#include "ports/frontend_port.h"
#include "tests/support/scripted_port.h"

TEST(FrontendPort, ScriptedPortCapturesOutputAndEvents) {
  ScriptedPort port;
  install_frontend_port(&port);
  frontend_port().print_text("abc\n");
  frontend_port().enable_control(IDC_KILL, true);
  port.quit_after_pumps = 2;
  EXPECT_TRUE(frontend_port().pump_messages());
  EXPECT_FALSE(frontend_port().pump_messages());
  install_frontend_port(nullptr);
  EXPECT_EQ(port.output, "abc\n");
  ASSERT_EQ(port.events.size(), 1u);
  EXPECT_EQ(port.events[0], "enable 1043 1");
}
