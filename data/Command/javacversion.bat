javac -version
