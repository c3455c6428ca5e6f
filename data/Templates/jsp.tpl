<%@ page contentType="text/html" %>
<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
   <title>JSP Page</title>
</head>
<body>
<%
   String name = request.getParameter("name");
   if (name == null)
      name = "World";
%>
<h1>Hello, <%= name %>!</h1>
</body>
</html>
