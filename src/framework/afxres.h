// Identifiers that the framework stand-in owns: the prompts of its data exchange, whose texts
// each resource set supplies, and its help command. Resource scripts include this header
// for them.
#pragma once

#define AFX_IDP_PARSE_INT_RANGE 61714
#define AFX_IDP_PARSE_UINT 61719

#define ID_HELP 57670
