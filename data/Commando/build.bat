rem Rewritten before every applet compile with the compiler and the file to build.
