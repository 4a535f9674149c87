// Stand-ins for the x86 memory bodies on other processors.  Volatile accesses
// keep every load and store at its width; the compiler may neither drop nor
// merge them.  The "MMX" bodies move 64-bit words and the "SSE" bodies
// 128-bit ones, so each row keeps the access width its name stands for.  On
// arm64, GCC makes them single LDR/STR of an X register and of a Q register
// (ldr x / str x, ldr q / str q); a test reads this back from the binary.
#if !defined(__x86_64__)

#include "kernels/memory_bodies.h"
#include "kernels/portable_notice.h"

namespace {

using Offset = std::ptrdiff_t;

// 128 bits as one value: GCC's generic vector, a Q register on arm64.
using Word128 = std::uint32_t __attribute__((vector_size(16)));

template <class Word>
void readWords(const unsigned char* base, Offset offset, int count)
{
    for (int i = 0; i < count; ++i) {
        const volatile Word* word = reinterpret_cast<const volatile Word*>(base + offset + i * sizeof(Word));
        static_cast<void>(*word);
    }
}

template <class Word>
void copyWords(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes)
{
    notePortableKernels();
    for (int pass = 0; pass < passes; ++pass) {
        unsigned char* to = reinterpret_cast<unsigned char*>(*destination);
        const unsigned char* from = reinterpret_cast<const unsigned char*>(*source);
        for (Offset offset = 0; offset < static_cast<Offset>(bytes); offset += sizeof(Word)) {
            const Word value = *reinterpret_cast<const volatile Word*>(from + offset);
            *reinterpret_cast<volatile Word*>(to + offset) = value;
        }
    }
}

template <class Word>
void readWithLookAhead(std::int32_t* const* region, std::size_t bytes, int passes, bool lookAhead)
{
    notePortableKernels();
    for (int pass = 0; pass < passes; ++pass) {
        const unsigned char* base = reinterpret_cast<const unsigned char*>(*region);
        for (Offset offset = 0; offset < static_cast<Offset>(bytes); offset += 64) {
            if (lookAhead) {
                static_cast<void>(*reinterpret_cast<const volatile unsigned char*>(base + offset + 64));
            }
            readWords<Word>(base, offset, 64 / sizeof(Word));
        }
    }
}

}  // namespace

void readBody(std::int32_t* const* region, std::size_t bytes, int passes)
{
    readWithLookAhead<std::uint32_t>(region, bytes, passes, true);
}

void readBodyMmx(std::int32_t* const* region, std::size_t bytes, int passes)
{
    readWithLookAhead<std::uint64_t>(region, bytes, passes, true);
}

void readBodySse(std::int32_t* const* region, std::size_t bytes, int passes)
{
    readWithLookAhead<Word128>(region, bytes, passes, false);
}

void writeBody(std::int32_t* const* region, std::size_t bytes, int passes, std::int32_t value)
{
    notePortableKernels();
    for (int pass = 0; pass < passes; ++pass) {
        volatile std::int32_t* base = *region;
        for (std::size_t word = 0; word < bytes / 4; ++word) {
            base[word] = value;
        }
    }
}

void copyBody(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes)
{
    copyWords<std::uint32_t>(destination, source, bytes, passes);
}

void copyBodyMmx(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes)
{
    copyWords<std::uint64_t>(destination, source, bytes, passes);
}

void copyBodySse(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes)
{
    copyWords<Word128>(destination, source, bytes, passes);
}

#endif
