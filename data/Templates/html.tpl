<!DOCTYPE html>
<html lang="en">
<head>
   <meta charset="UTF-8">
   <meta name="viewport" content="width=device-width, initial-scale=1">
   <title>Untitled</title>
   <link rel="stylesheet" href="style.css">
</head>
<body>
   <header>
      <h1>Untitled</h1>
   </header>
   <main>
      <p></p>
   </main>
   <footer>
   </footer>
</body>
</html>
