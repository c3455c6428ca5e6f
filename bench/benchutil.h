#pragma once

// Helpers shared by the benchmarks: generated test files, a clock and the
// process's resident memory.

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double Seconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// CPU time of the calling thread, in seconds: what a step cost the program,
// whatever else the machine was busy with.
inline double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The median of some timings.
inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds on the clock that step takes.
inline double Milliseconds(const std::function<void()>& step)
{
    const double start = Seconds();
    step();
    return (Seconds() - start) * 1000;
}

// Resident memory of this process in bytes.
inline long long ResidentBytes()
{
    long long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%lld %lld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * 4096;
}

// The peak resident memory of this process, in bytes.
inline long long PeakResidentBytes()
{
    long long kb = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            if (std::strncmp(line, "VmHWM:", 6) == 0)
                kb = std::atoll(line + 6);
        }
        std::fclose(f);
    }
    return kb * 1024;
}

// A Java-like text of about the given size: classes of fields, methods,
// comments, strings and numbers, about 50 bytes a line, LF line ends.
inline QByteArray JavaText(qint64 bytes)
{
    static const char* const kBody[] = {
        "    /**",
        "     * Returns the value computed from the given input and the name of the caller.",
        "     */",
        "    public int compute(int input, String name, java.util.Map<String, Integer> cache) {",
        "        int result = input * 31 + name.hashCode() + cache.getOrDefault(name, 0);",
        "        if (result > 0x7FFF && name.length() > 10 && !cache.containsKey(name)) {",
        "            result -= 1.5e3 > input ? 42 : 17; // keep the result small enough",
        "        }",
        "        String message = \"value of \" + name + \" is \" + result + \" units\";",
        "        System.out.println(message + result + ' ' + LIMIT + \" of \" + names.size());",
        "        for (int i = 0; i < input; i++) { total += i * factor; }",
        "        /* a comment that",
        "           spans two lines */",
        "        return result;",
        "    }",
        "",
        "    private static final long LIMIT = 100000L;",
        "    protected java.util.List<String> names = new java.util.ArrayList<>();",
    };
    QByteArray text;
    text.reserve(bytes + 4096);
    int classNo = 0;
    while (text.size() < bytes) {
        text += "public class Generated" + QByteArray::number(classNo++) + " extends Object {\n";
        for (int round = 0; round < 20 && text.size() < bytes; ++round) {
            for (const char* line : kBody) {
                text += line;
                text += '\n';
            }
        }
        text += "}\n";
    }
    return text;
}

// Lines repeated, each with the given end, to about the given size.
template <size_t N>
QByteArray Repeated(const char* const (&lines)[N], qint64 bytes, const char* end = "\n")
{
    QByteArray text;
    text.reserve(bytes + 4096);
    while (text.size() < bytes) {
        for (const char* line : lines) {
            text += line;
            text += end;
        }
    }
    return text;
}

// An HTML page with JSP scriptlets, expressions and comments, about the
// given size.
inline QByteArray JspText(qint64 bytes)
{
    static const char* const kBody[] = {
        "<%@ page import=\"java.util.*\" contentType=\"text/html\" %>",
        "<html>",
        "<head><title>Generated page</title></head>",
        "<!-- a comment about the table below -->",
        "<body bgcolor=\"#FFFFFF\" onload='start()'>",
        "<table border=0 width=\"100%\">",
        "<% for (int i = 0; i < 10; i++) { String name = \"row\" + i; %>",
        "  <tr><td class=\"cell\"><%= name %></td><td>12.5%</td></tr>",
        "<% } %>",
        "</table>",
        "<a href=\"<%= request.getContextPath() %>/next.jsp\">Next</a>",
        "<p>Some plain text of the page, with a few words in it.</p>",
        "</body>",
        "</html>",
    };
    return Repeated(kBody, bytes);
}

// A plain HTML page with a style sheet, a script and comments (no JSP),
// about the given size.
inline QByteArray HtmlText(qint64 bytes)
{
    static const char* const kBody[] = {
        "<!DOCTYPE html>",
        "<html lang=\"en\">",
        "<head><title>Generated page</title>",
        "<style>body { margin: 0; color: #333; } /* the layout */ td.cell { padding: 2px }</style>",
        "<script>function pick(a, b) { return a > b ? \"first\" : 'second'; } // a helper</script>",
        "</head>",
        "<body class=\"main\" onload='start()'>",
        "<!-- a comment about the table below,",
        "     over two lines -->",
        "<table border=0 width=\"100%\">",
        "  <tr><td class=\"cell\">Cell text &amp; more</td><td>12.5%</td></tr>",
        "</table>",
        "<p>Some plain text of the page, with a <b>few</b> words in it.</p>",
        "<a href=\"next.html\" title=\"The next page\">Next</a>",
        "</body>",
        "</html>",
    };
    return Repeated(kBody, bytes);
}

// An MS-DOS batch file of commands, labels, remarks, variables and quoted
// arguments, CR LF line ends, about the given size.
inline QByteArray BatchText(qint64 bytes)
{
    static const char* const kBody[] = {
        "@echo off",
        "REM Builds the project and copies the result to the backup folder",
        "set TARGET=%1",
        "if \"%TARGET%\"==\"\" set TARGET=all",
        ":build",
        "call make.bat \"%TARGET%\" 2 > build.log",
        "if errorlevel 1 goto failed",
        "for %%f in (*.class) do copy \"%%f\" backup\\ > nul",
        "echo Build of %TARGET% done & goto end",
        ":failed",
        "echo \"Build failed\" with code %ERRORLEVEL% & pause",
        ":end",
    };
    return Repeated(kBody, bytes, "\r\n");
}

// A page made of nothing but switches between HTML, script, style sheet, JSP
// and expression language: every few characters a block opens or closes,
// also inside strings, comments and attribute values. About the given size.
inline QByteArray SwitchText(qint64 bytes)
{
    static const char* const kBody[] = {
        "<%-- switches --%><script>var a = '<%= x %>', b = \"${y}\";</script><style>p{c:<%= c %>}</style>",
        "<p style=\"color: ${fg}; margin: <%= m %>px\" title='<%= t %>'>${a}<%= b %>#{c}</p>",
        "<script>/* <%= d %> */ f(`${e}`); // <% if (g) { %>",
        "g(1) <%-- note --%> </script><style>/* ${h} */ a { b: #fff }</style><% } %>",
        "<td class=\"<% if (i) { %>on<% } %>\" width=<%= w %>><![CDATA[ x ]]>&amp;${j}</td>",
    };
    return Repeated(kBody, bytes);
}

// Writes text to path unless a file of that size is already there.
inline bool EnsureFile(const QString& path, const QByteArray& text)
{
    if (QFileInfo(path).size() == text.size())
        return true;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace bench
