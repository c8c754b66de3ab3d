// A batch on two threads: while the calling thread takes the shaders in
// list order (probes, output, messages, exactly as one at a time would), a
// second thread reads and converts the next few ahead of their turn. A
// shader changed or replaced after its early reading is read again at its
// turn, so what the batch does is what one shader after another would do.
#pragma once

#include <string>
#include <vector>

#include "driver/fragment_converter.h"

namespace driver {

// Converts each shader with convert_shader_file, in list order, messages to
// `sink`; stops after the first shader whose status is fatal, and returns
// that status, or else the worst of the others (failed over the rest).
// `folders` holds the folder listings the batch has made, if any.
ConvertStatus convert_in_order(const std::vector<std::string>& shaders,
                               const std::string& output_path, const std::string& shader_kind,
                               const MessageSink& sink, BatchKnowledge folders = {});

}  // namespace driver
