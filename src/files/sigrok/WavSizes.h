// libsigrok's wav output writes as a stream: it cannot know the length when
// it writes the header, so the RIFF and data sizes say 0xFFFFFFFF. Many
// readers want the true sizes; once the whole file is there they are known.
#pragma once

#include <string>

namespace korvel {

// Writes the sizes into wav, a whole WAV file, when it has a data chunk
// that runs to its end; a file beyond 4 GiB keeps the stream's marks.
void SetWavSizes(std::string& wav);

}  // namespace korvel
