// Reads back the machine code of the timed loops from this very executable
// and checks each one instruction by instruction: every access at its width
// and offset, nothing merged or dropped or added, and the loop head on a
// 64-byte boundary.  Skipped where objdump is not installed.
#if defined(__x86_64__)

#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "kernels/arith_bodies.h"
#include "kernels/memory_bodies.h"

namespace {

struct Instruction {
    std::uint64_t address;
    std::string text;  // mnemonic and operands, single-spaced, without symbol names
};

std::string ownExecutable()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

bool isPositionIndependent(const std::string& path)
{
    Elf64_Ehdr header{};
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(&header), sizeof(header));
    return header.e_type == ET_DYN;
}

std::string singleSpaced(const std::string& text)
{
    std::string out;
    std::istringstream words(text.substr(0, text.find_first_of("#<")));
    std::string word;
    while (words >> word) {
        out += out.empty() ? word : " " + word;
    }
    return out;
}

// The function's instructions up to and including its first RET.
std::vector<Instruction> disassemble(const void* function)
{
    const std::string path = ownExecutable();
    Dl_info info{};
    if (path.empty() || dladdr(function, &info) == 0) {
        return {};
    }
    std::uint64_t start = reinterpret_cast<std::uintptr_t>(function);
    if (isPositionIndependent(path)) {
        start -= reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    }
    char command[8192];
    std::snprintf(command, sizeof(command),
                  "objdump -d --no-show-raw-insn --start-address=0x%llx --stop-address=0x%llx '%s' 2>/dev/null",
                  static_cast<unsigned long long>(start), static_cast<unsigned long long>(start + 1024), path.c_str());
    FILE* pipe = popen(command, "r");
    if (pipe == nullptr) {
        return {};
    }
    std::vector<Instruction> instructions;
    char line[1024];
    while (std::fgets(line, sizeof(line), pipe) != nullptr) {
        unsigned long long address = 0;
        int consumed = 0;
        if (std::sscanf(line, " %llx:%n", &address, &consumed) != 1 || line[consumed] != '\t') {
            continue;
        }
        const std::string text = singleSpaced(line + consumed);
        if (text.empty() || text.rfind("nop", 0) == 0 || text.rfind("xchg %ax,%ax", 0) == 0 ||
            text.rfind("cs nop", 0) == 0 || text.rfind("data16", 0) == 0) {
            continue;
        }
        instructions.push_back({address, text});
        if (text == "ret") {
            break;
        }
    }
    pclose(pipe);
    return instructions;
}

// '*' matches any run of characters.
bool globMatches(std::string_view pattern, std::string_view text)
{
    if (pattern.empty()) {
        return text.empty();
    }
    if (pattern.front() == '*') {
        for (std::size_t skip = 0; skip <= text.size(); ++skip) {
            if (globMatches(pattern.substr(1), text.substr(skip))) {
                return true;
            }
        }
        return false;
    }
    return !text.empty() && pattern.front() == text.front() && globMatches(pattern.substr(1), text.substr(1));
}

struct Loop {
    std::uint64_t head = 0;
    std::vector<std::string> body;  // head to the backward branch, inclusive
};

// The innermost timed loop: the backward JL or LOOP and what lies between its
// target and itself.
Loop timedLoop(const std::vector<Instruction>& code)
{
    for (std::size_t i = 0; i < code.size(); ++i) {
        const std::string& text = code[i].text;
        if (text.rfind("jl ", 0) != 0 && text.rfind("loop ", 0) != 0) {
            continue;
        }
        const std::uint64_t target = std::stoull(text.substr(text.find(' ') + 1), nullptr, 16);
        if (target >= code[i].address) {
            continue;
        }
        Loop loop;
        loop.head = target;
        for (std::size_t j = 0; j <= i; ++j) {
            if (code[j].address >= target) {
                loop.body.push_back(code[j].text);
            }
        }
        return loop;
    }
    return {};
}

std::string displacement(int offset)
{
    char text[16] = "";
    if (offset != 0) {
        std::snprintf(text, sizeof(text), "0x%x", offset);
    }
    return text;
}

void expectLoop(const void* function, const std::vector<std::string>& expected)
{
    const std::vector<Instruction> code = disassemble(function);
    if (code.empty()) {
        GTEST_SKIP() << "objdump is not available";
    }
    const Loop loop = timedLoop(code);
    ASSERT_FALSE(loop.body.empty()) << "no backward branch found";
    EXPECT_EQ(loop.head % 64, 0u) << "loop head at 0x" << std::hex << loop.head;
    ASSERT_EQ(loop.body.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(globMatches(expected[i], loop.body[i])) << "expected " << expected[i] << ", got " << loop.body[i];
    }
}

std::vector<std::string> closedBy(std::vector<std::string> accesses, int step)
{
    accesses.push_back("add $" + displacement(step) + ",%rcx");
    accesses.push_back("cmp %*,%rcx");
    accesses.push_back("jl *");
    return accesses;
}

const void* address(auto function)
{
    return reinterpret_cast<const void*>(function);
}

TEST(CompiledMemoryLoops, MakeEveryAccessAtItsWidth)
{
    std::vector<std::string> read = {"movzbl 0x40(%rsi,%rcx,1),%edx"};
    for (int offset = 0; offset < 64; offset += 4) {
        read.push_back("mov " + displacement(offset) + "(%rsi,%rcx,1),%eax");
    }
    expectLoop(address(readBody), closedBy(read, 64));

    std::vector<std::string> readMmx = {"movzbl 0x40(%rsi,%rcx,1),%edx"};
    for (int i = 0; i < 8; ++i) {
        readMmx.push_back("movq " + displacement(i * 8) + "(%rsi,%rcx,1),%mm" + std::to_string(i));
    }
    expectLoop(address(readBodyMmx), closedBy(readMmx, 64));

    std::vector<std::string> readSse;
    for (int i = 0; i < 4; ++i) {
        readSse.push_back("movaps " + displacement(i * 16) + "(%rsi,%rcx,1),%xmm" + std::to_string(i));
    }
    expectLoop(address(readBodySse), closedBy(readSse, 64));

    expectLoop(address(writeBody), closedBy({"mov %eax,(%rdi,%rcx,1)"}, 4));
    expectLoop(address(copyBody), closedBy({"mov (%rsi,%rcx,1),%eax", "mov %eax,(%rdi,%rcx,1)"}, 4));
    expectLoop(address(copyBodyMmx), closedBy({"movq (%rsi,%rcx,1),%mm0", "movq %mm0,(%rdi,%rcx,1)"}, 8));
    expectLoop(address(copyBodySse), closedBy({"movaps (%rsi,%rcx,1),%xmm0", "movaps %xmm0,(%rdi,%rcx,1)"}, 16));
}

TEST(CompiledMemoryLoops, MmxBodiesClearTheMmxStateAfterTheirPasses)
{
    for (const void* function : {address(readBodyMmx), address(copyBodyMmx)}) {
        const std::vector<Instruction> code = disassemble(function);
        if (code.empty()) {
            GTEST_SKIP() << "objdump is not available";
        }
        std::size_t lastMmx = 0;
        std::size_t emms = 0;
        for (std::size_t i = 0; i < code.size(); ++i) {
            if (code[i].text.find("%mm") != std::string::npos) {
                lastMmx = i;
            }
            if (code[i].text == "emms") {
                emms = i;
            }
        }
        EXPECT_GT(emms, lastMmx) << "no EMMS after the last MMX instruction";
    }
}

TEST(CompiledArithmeticLoops, HoldOnlyTheOperationAndLoop)
{
    expectLoop(address(addLoop), {"add $0x1,%eax", "loop *"});
    expectLoop(address(subLoop), {"sub $0x1,%eax", "loop *"});
    expectLoop(address(mulLoop), {"mul %eax", "loop *"});
    expectLoop(address(divLoop), {"mov $0x1,%eax", "mov $0x0,%edx", "div %eax", "loop *"});
}

}  // namespace

#endif
