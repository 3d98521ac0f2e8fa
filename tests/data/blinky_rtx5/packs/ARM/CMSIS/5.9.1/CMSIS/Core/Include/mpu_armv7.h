// Stand-in for the pack's header of this name: only its own includes, for the include check.
#include <stdint.h>
