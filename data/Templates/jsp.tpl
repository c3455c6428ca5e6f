<%@ page contentType="text/html; charset=UTF-8" pageEncoding="UTF-8" %>
<!DOCTYPE html>
<html lang="en">
<head>
   <meta charset="UTF-8">
   <title>JSP Page</title>
</head>
<body>
<%
   String name = request.getParameter("name");
   if (name == null || name.isEmpty())
      name = "World";
   // Text from the request is escaped before it becomes part of the page.
   name = name.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
              .replace("\"", "&quot;").replace("'", "&#39;");
%>
<h1>Hello, <%= name %>!</h1>
<p>Served at <%= new java.util.Date() %></p>
</body>
</html>
