java -version
