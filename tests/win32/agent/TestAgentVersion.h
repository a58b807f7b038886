#pragma once
// The strings of the test agent's version resource, shared by its resource script and the
// tests that read them back.
#define ZORVIK_AGENT_COMPANY "Zorvik Test Works"
#define ZORVIK_AGENT_DESCRIPTION "Test agent owning loopback sockets"
#define ZORVIK_AGENT_PRODUCT "Zorvik Test Agent"
#define ZORVIK_AGENT_FILE_VERSION "4.3.2.1"
// Not the agent's own file name: the name a program copied over another still carries.
#define ZORVIK_AGENT_ORIGINAL_NAME "agent-original.exe"
