// The spinning, flashing effect of a super clear.
#pragma once

void SuperEffect();
