#include "table/TableHost.h"

namespace {
CTableHost* g_host = nullptr;
}

CTableHost* TableHost() { return g_host; }
void SetTableHost(CTableHost* host) { g_host = host; }
