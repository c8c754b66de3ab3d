// Every text that isf2orvy-gallery prints or writes into its page: console
// lines, the names of outcomes and generated lines, and the explanations of
// known compile failures. The converter's own messages stay in the driver.
#pragma once

#include <string>

#include "shader_entry.h"
#include "summary.h"

namespace gallery::messages {

// Command line (standard error, exit status 2).
std::string usage();
std::string option_needs_value(const std::string& option);
std::string unknown_option(const std::string& option);
std::string invalid_option_value(const std::string& option, const std::string& value);
std::string expected_two_paths();
std::string input_invalid(const std::string& input_path);
std::string bad_command_line(const std::string& reason);

// The gallery itself cannot be written (standard error, exit status 1).
std::string cannot_create_gallery(const std::string& gallery_path);
std::string cannot_write(const std::string& path, const std::string& reason);
std::string cannot_render(const std::string& reason);
// Reasons for cannot_render and for a shader's render error.
std::string no_worker();
std::string no_process(const std::string& reason);
std::string answer_cut_short();

// Progress (standard error) and the summary (standard output).
std::string progress_line(std::size_t done, std::size_t total, const std::string& shader_path,
                          const std::string& verdict);
std::string progress_bar(std::size_t done, std::size_t total, std::size_t width);
std::string summary_line(const Summary& summary);

// A shader's verdict in one or two words, for progress lines and the page.
std::string verdict(const ShaderEntry& entry);
// A worker's fault in a few words ("the compiler crashed (signal 11)"), and
// what it means for the shader.
std::string fault_summary(const WorkerFault& fault);
std::string fault_explanation(const WorkerFault& fault);
// The fault's name in report.json.
std::string fault_key(Fault kind);
// The outcome's name in report.json and in the page's filter.
std::string outcome_key(Outcome outcome);
std::string outcome_label(Outcome outcome);
// The kind of a generated line, as messages about it name it.
std::string origin_label(LineOrigin origin);

// A compiler message placed in the user's file, such as
// "fx/Lines.fs:25: error: `isf_FragNormCoord' undeclared".
std::string placed_message(const std::string& shader_path, const std::string& frag_name,
                           const CompilerMessage& message);

// A frame that is one colour everywhere.
std::string single_colour();

// Known causes of compile failures.
std::string unsupported_input_type(const std::string& name, const std::string& type);
std::string undeclared_name(const std::string& name);
std::string host_uniform_name(const std::string& name);
std::string newer_glsl_int_to_float();
std::string newer_glsl_mixed_comparison();
std::string condition_not_bool();
std::string newer_glsl_precision();
std::string newer_glsl_unsigned();
std::string newer_glsl_array_constructor();

}  // namespace gallery::messages
